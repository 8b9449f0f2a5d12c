// SPDX-License-Identifier: GPL-3.0-or-later
#include "SpaceCheck.h"

#include "ByteCountFormatter.h"
#include "camera/CameraDriveFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#include <sys/stat.h>
#include <sys/statvfs.h>

namespace {

bool statPath(const QString& path, struct stat* info) {
    return ::stat(QFile::encodeName(path).constData(), info) == 0;
}

// The folder itself or the nearest folder above it that exists: where it
// will be made.
QString existingAncestor(const QString& folder, struct stat* info) {
    QString path = QFileInfo(folder).absoluteFilePath();
    while (!statPath(path, info)) {
        const QString parent = QFileInfo(path).absolutePath();
        if (parent == path)
            return {};
        path = parent;
    }
    return path;
}

// The top of the file system holding `path` (device `device`).
QString mountPointOf(QString path, dev_t device) {
    for (;;) {
        const QString parent = QFileInfo(path).absolutePath();
        struct stat info {};
        if (parent == path || !statPath(parent, &info) || info.st_dev != device)
            return path;
        path = parent;
    }
}

QString bytesText(qint64 bytes) {
    return ByteCountFormatter::stringFromByteCount(bytes, QStringLiteral("B"),
                                                   ByteCountFormatter::DecimalCountStyle);
}

bool renamedInPlace(const TransferAction& action) {
    const auto* file = dynamic_cast<const CameraDriveFile*>(action.source().get());
    if (action.mode() != TransferModeMove || !file || !file->isMoveable())
        return false;
    struct stat source {};
    struct stat folder {};
    return statPath(file->path(), &source) &&
           !existingAncestor(QFileInfo(action.destination()).absolutePath(), &folder).isEmpty() &&
           source.st_dev == folder.st_dev;
}

bool occupied(const QString& path) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0;
}

} // namespace

qsizetype SpaceCheck::volumeOf(const QString& folder) {
    const auto known = m_volumeOfFolder.constFind(folder);
    if (known != m_volumeOfFolder.cend())
        return *known;
    struct stat info {};
    const QString existing = existingAncestor(folder, &info);
    qsizetype index = -1;
    if (!existing.isEmpty()) {
        index = 0;
        while (index < m_devices.size() && m_devices[index].id != quint64(info.st_dev))
            ++index;
        if (index == m_devices.size()) {
            struct statvfs space {};
            Volume volume;
            volume.mountPoint = mountPointOf(existing, info.st_dev);
            Device device;
            device.id = quint64(info.st_dev);
            if (::statvfs(QFile::encodeName(existing).constData(), &space) == 0) {
                volume.bytesFree = qint64(space.f_bavail) * qint64(space.f_frsize);
                device.blockSize = qMax<qint64>(1, qint64(space.f_frsize));
            }
            m_volumes.append(volume);
            m_devices.append(device);
        }
        const QString cleaned = QFileInfo(folder).absoluteFilePath();
        QStringList& folders = m_volumes[index].folders;
        if (!folders.contains(cleaned))
            folders.append(cleaned);
    }
    m_volumeOfFolder.insert(folder, index);
    return index;
}

void SpaceCheck::addFile(const QString& folder, qint64 bytes) {
    const qsizetype index = volumeOf(folder);
    if (index < 0)
        return;
    const qint64 block = m_devices[index].blockSize;
    m_volumes[index].bytesToWrite += (bytes + block - 1) / block * block;
}

SpaceCheck SpaceCheck::forActions(const QList<TransferActionPtr>& actions, bool skipExisting) {
    SpaceCheck check;
    for (const TransferActionPtr& action : actions) {
        const bool writesNothing =
            renamedInPlace(*action) || (skipExisting && occupied(action->destination()));
        check.addFile(QFileInfo(action->destination()).absolutePath(),
                      writesNothing ? 0 : action->bytes());
    }
    return check;
}

bool SpaceCheck::fits() const {
    return std::all_of(m_volumes.cbegin(), m_volumes.cend(),
                       [](const Volume& volume) { return volume.missing() == 0; });
}

QString SpaceCheck::shortage() const {
    QStringList lines;
    for (const Volume& volume : m_volumes) {
        if (volume.missing() == 0)
            continue;
        lines.append(
            QStringLiteral("Not enough space on %1 (%2): %3 to write, %4 free, %5 missing.")
                .arg(volume.mountPoint, volume.folders.join(QStringLiteral(", ")),
                     bytesText(volume.bytesToWrite), bytesText(volume.bytesFree),
                     bytesText(volume.missing())));
    }
    return lines.join(QLatin1Char('\n'));
}
