// SPDX-License-Identifier: GPL-3.0-or-later
#include "MountedVolumes.h"

#include <QFile>
#include <QSet>
#include <QSocketNotifier>

#include <fcntl.h>
#include <unistd.h>

namespace {

// File systems that live on a local disk, card or optical medium. Pseudo
// (proc, sysfs, tmpfs, cgroup...), network (nfs, cifs, sshfs...), stacked
// (overlay) and packaged images (squashfs) are not drives.
bool isLocalDiskFileSystem(const QByteArray& type) {
    static const QSet<QByteArray> local{
        "ext2",    "ext3",     "ext4",    "xfs",  "btrfs",   "bcachefs", "f2fs", "jfs",
        "nilfs2",  "reiserfs", "zfs",     "vfat", "msdos",   "exfat",    "ntfs", "ntfs3",
        "fuseblk", "hfs",      "hfsplus", "apfs", "iso9660", "udf"};
    return local.contains(type);
}

bool isOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

// Undoes the kernel's octal escapes ("\040" for a blank).
QByteArray unescape(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field.at(i) == '\\' && i + 3 < field.size() && isOctalDigit(field.at(i + 1)) &&
            isOctalDigit(field.at(i + 2)) && isOctalDigit(field.at(i + 3))) {
            out.append(static_cast<char>((field.at(i + 1) - '0') * 64 +
                                         (field.at(i + 2) - '0') * 8 + (field.at(i + 3) - '0')));
            i += 3;
            continue;
        }
        out.append(field.at(i));
    }
    return out;
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
    const QByteArray text = table.readAll();
    for (const QByteArray& line : text.split('\n')) {
        // id parent major:minor root mount-point options [tags...] - type source options
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype separator = fields.indexOf(QByteArray("-"), 6);
        if (separator < 0 || separator + 1 >= fields.size())
            continue;
        const QString mountPoint = QFile::decodeName(unescape(fields.at(4)));
        // The root volume is a drive even when the system runs from an
        // overlay or a RAM disk.
        if (mountPoint != QLatin1String("/") && !isLocalDiskFileSystem(fields.at(separator + 1)))
            continue;
        if (!paths.contains(mountPoint))
            paths.append(mountPoint);
    }
    return paths;
}
