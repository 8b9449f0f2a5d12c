// SPDX-License-Identifier: GPL-3.0-or-later
#include "MountedVolumes.h"

#include "MountTable.h"

#include <QFile>
#include <QSet>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

namespace {

// File systems that live on a local disk, card or optical medium. Pseudo
// (proc, sysfs, tmpfs, cgroup...), network (nfs, cifs, sshfs...), stacked
// (overlay) and packaged images (squashfs) are not drives.
bool isLocalDiskFileSystem(const QString& type) {
    static const QSet<QString> local{
        QStringLiteral("ext2"),     QStringLiteral("ext3"),    QStringLiteral("ext4"),
        QStringLiteral("xfs"),      QStringLiteral("btrfs"),   QStringLiteral("bcachefs"),
        QStringLiteral("f2fs"),     QStringLiteral("jfs"),     QStringLiteral("nilfs2"),
        QStringLiteral("reiserfs"), QStringLiteral("zfs"),     QStringLiteral("vfat"),
        QStringLiteral("msdos"),    QStringLiteral("exfat"),   QStringLiteral("ntfs"),
        QStringLiteral("ntfs3"),    QStringLiteral("fuseblk"), QStringLiteral("hfs"),
        QStringLiteral("hfsplus"),  QStringLiteral("apfs"),    QStringLiteral("iso9660"),
        QStringLiteral("udf")};
    return local.contains(type);
}

} // namespace

MountedVolumes::MountedVolumes(const QString& mountinfo, QObject* parent)
    : QObject(parent)
    , m_mountinfo(mountinfo) {
    m_descriptor = ::open(QFile::encodeName(mountinfo).constData(), O_RDONLY | O_CLOEXEC);
    if (m_descriptor < 0)
        return;
    // The kernel flags the open mount table with POLLPRI on every change.
    m_notifier = new QSocketNotifier(m_descriptor, QSocketNotifier::Exception, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &MountedVolumes::volumesChanged);
}

MountedVolumes::~MountedVolumes() {
    delete m_notifier;
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

QStringList MountedVolumes::mountedLocalVolumePaths() const {
    QStringList paths;
    if (m_descriptor < 0)
        return paths;
    QFile table(m_mountinfo);
    if (!table.open(QIODevice::ReadOnly))
        return paths;
    for (const MountEntry& entry : MountTable::parse(table.readAll())) {
        // The root volume is a drive even when the system runs from an
        // overlay or a RAM disk.
        if (entry.mountPoint != QLatin1String("/") && !isLocalDiskFileSystem(entry.fileSystemType))
            continue;
        if (!paths.contains(entry.mountPoint))
            paths.append(entry.mountPoint);
    }
    return paths;
}
