// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One line of /proc/<pid>/mountinfo.
struct MountEntry {
    QString mountPoint;
    QString fileSystemType;
    QString source;
};

// Reads the kernel's mount table.
namespace MountTable {

// Entries of a mountinfo text, in order; malformed lines are skipped.
QList<MountEntry> parse(const QByteArray& mountinfo);

// Undoes the kernel's octal escapes ("\040" for a blank) in a field.
QString unescape(const QByteArray& field);

// Kernel-internal file systems (proc, sysfs, cgroup...): never a card or a drive.
bool isVirtualFileSystem(const QString& type);

} // namespace MountTable
