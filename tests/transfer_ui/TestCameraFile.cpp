// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestCameraFile.h"

#include <QFile>
#include <QFileInfo>

TestCameraFile::TestCameraFile(const QString& title, const QDateTime& date, qint64 bytes)
    : m_name(title)
    , m_taken(date)
    , m_size(bytes) {}

QImage TestCameraFile::thumbnail() const {
    QMutexLocker locker(&m_lock);
    return m_image;
}

void TestCameraFile::setThumbnail(const QImage& thumbnail) {
    QMutexLocker locker(&m_lock);
    m_image = thumbnail;
}

bool TestCameraFile::transferFileTo(const QString& destination, TransferMode,
                                    bool replaceExisting) {
    m_started = true;
    if (m_gated.exchange(false))
        m_gate.acquire();
    if (m_failing)
        return false;
    if (QFileInfo::exists(destination) && !replaceExisting)
        return false;
    QFile file(destination);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(QByteArray(m_size, 'x')) == m_size;
}
