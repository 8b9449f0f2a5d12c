// SPDX-License-Identifier: GPL-3.0-or-later
#include "StagedFile.h"

#include "CameraLog.h"
#include "FileManagerUtils.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#ifndef RENAME_NOREPLACE
#define RENAME_NOREPLACE (1 << 0)
#endif

namespace {

int renameNoReplace(const char* from, const char* to) {
#ifdef SYS_renameat2
    return static_cast<int>(
        ::syscall(SYS_renameat2, AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE));
#else
    errno = ENOSYS;
    return -1;
#endif
}

bool exists(const char* path) {
    struct stat st {};
    return ::lstat(path, &st) == 0;
}

} // namespace

StagedFile::StagedFile(const QString& destinationPath)
    : destination(destinationPath) {
    const QString candidate = FileManagerUtils::temporaryFilename(destination);
    if (candidate.isEmpty())
        return;
    // The temporary file must share the destination's folder, or the final
    // rename would not be atomic (or not possible at all).
    if (QFileInfo(candidate).absolutePath() != QFileInfo(destination).absolutePath()) {
        QFile::remove(candidate);
        return;
    }
    temporary = candidate;
}

StagedFile::~StagedFile() {
    if (!temporary.isEmpty())
        ::unlink(QFile::encodeName(temporary).constData());
}

bool StagedFile::publish(bool replaceExisting) {
    if (temporary.isEmpty())
        return false;
    if (!renameInto(temporary, destination, replaceExisting))
        return false;
    temporary.clear();
    return true;
}

bool StagedFile::renameInto(const QString& from, const QString& to, bool replaceExisting) {
    const QByteArray source = QFile::encodeName(from);
    const QByteArray target = QFile::encodeName(to);
    if (replaceExisting) {
        if (::rename(source.constData(), target.constData()) == 0)
            return true;
        qCWarning(lcCamera) << "cannot rename" << from << "to" << to << ":" << strerror(errno);
        return false;
    }
    if (renameNoReplace(source.constData(), target.constData()) == 0)
        return true;
    if (errno != EINVAL && errno != ENOSYS && errno != EOPNOTSUPP) {
        if (errno == EEXIST)
            qCWarning(lcCamera) << to << "appeared meanwhile; not overwritten";
        else
            qCWarning(lcCamera) << "cannot rename" << from << "to" << to << ":" << strerror(errno);
        return false;
    }
    // No RENAME_NOREPLACE here: a hard link fails on an existing target too.
    if (::link(source.constData(), target.constData()) == 0) {
        ::unlink(source.constData());
        return true;
    }
    if (errno == EEXIST) {
        qCWarning(lcCamera) << to << "appeared meanwhile; not overwritten";
        return false;
    }
    // Neither (FAT, exFAT): the narrowest window left is a check right
    // before the rename.
    if (exists(target.constData())) {
        qCWarning(lcCamera) << to << "appeared meanwhile; not overwritten";
        return false;
    }
    if (::rename(source.constData(), target.constData()) == 0)
        return true;
    qCWarning(lcCamera) << "cannot rename" << from << "to" << to << ":" << strerror(errno);
    return false;
}

bool StagedFile::syncFolderOf(const QString& path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return synced;
}
