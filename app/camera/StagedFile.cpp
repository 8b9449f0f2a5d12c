// SPDX-License-Identifier: GPL-3.0-or-later
#include "StagedFile.h"

#include "CameraLog.h"
#include "FileManagerUtils.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
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
    : m_destination(destinationPath) {
    // In the destination's own folder, or the final rename would not be
    // atomic (or not possible at all).
    m_descriptor = FileManagerUtils::openTemporaryBeside(m_destination, &m_temporary);
    if (m_descriptor < 0) {
        m_temporary.clear();
        return;
    }
    ::flock(m_descriptor, LOCK_EX | LOCK_NB);
}

StagedFile::~StagedFile() {
    if (!m_temporary.isEmpty())
        ::unlink(QFile::encodeName(m_temporary).constData());
    if (m_descriptor >= 0)
        ::close(m_descriptor);
}

bool StagedFile::publish(bool replaceExisting) {
    if (m_temporary.isEmpty())
        return false;
    if (!renameInto(m_temporary, m_destination, replaceExisting))
        return false;
    m_temporary.clear();
    // Under its name the file needs no lock; closed here, on the thread
    // that publishes, rather than when the batch is dropped.
    ::close(m_descriptor);
    m_descriptor = -1;
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

int StagedFile::removeAbandonedIn(const QString& folder) {
    return removeAbandonedAmong(folder,
                                QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System));
}

int StagedFile::removeAbandonedAmong(const QString& folder, const QStringList& names) {
    int removed = 0;
    for (const QString& name : names) {
        if (!FileManagerUtils::isHiddenTemporaryFilename(name))
            continue;
        const QByteArray path = QFile::encodeName(folder + QLatin1Char('/') + name);
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0)
            continue;
        // A stage still writing holds the lock; a killed one's went with it.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && ::unlink(path.constData()) == 0) {
            qCInfo(lcCamera) << "removed" << name << "left behind by an interrupted transfer";
            ++removed;
        }
        ::close(fd);
    }
    return removed;
}
