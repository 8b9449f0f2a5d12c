// SPDX-License-Identifier: GPL-3.0-or-later
#include "CardVolumeWatcher.h"

#include "MountTable.h"

#include <QDir>
#include <QFileInfo>
#include <QSocketNotifier>

CardVolumeWatcher::CardVolumeWatcher(const QString& mountinfo, QObject* parent)
    : QObject(parent)
    , m_table(mountinfo) {
    if (m_table.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) {
        m_known = readMountPoints();
        m_notifier = new QSocketNotifier(m_table.handle(), QSocketNotifier::Exception, this);
        connect(m_notifier, &QSocketNotifier::activated, this, &CardVolumeWatcher::rescan);
    }
}

CardVolumeWatcher::~CardVolumeWatcher() = default;

bool CardVolumeWatcher::holdsCameraLayout(const QString& folder) {
    const QDir dir(folder);
    return QFileInfo(dir.filePath(QStringLiteral("DCIM"))).isDir() ||
           QFileInfo(dir.filePath(QStringLiteral("PRIVATE"))).isDir();
}

QSet<QString> CardVolumeWatcher::readMountPoints() {
    QSet<QString> points;
    if (!m_table.isOpen())
        return points;
    // The kernel builds the text anew from the start of the file.
    m_table.seek(0);
    const QByteArray text = m_table.readAll();
    for (const MountEntry& entry : MountTable::parse(text)) {
        if (!MountTable::isVirtualFileSystem(entry.fileSystemType))
            points.insert(entry.mountPoint);
    }
    return points;
}

void CardVolumeWatcher::rescan() {
    const QSet<QString> current = readMountPoints();
    QStringList appeared;
    for (const QString& point : current) {
        if (!m_known.contains(point))
            appeared.append(point);
    }
    m_known = current;
    appeared.sort();
    for (const QString& point : std::as_const(appeared)) {
        if (holdsCameraLayout(point))
            Q_EMIT cardVolumeAppeared(point);
    }
}
