// SPDX-License-Identifier: GPL-3.0-or-later
#include "CameraDriveFile.h"

#include "CameraLog.h"
#include "FileCopy.h"
#include "FileUtils.h"
#include "ImageUtils.h"
#include "StagedFile.h"
#include "TransferMode.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool onSameFileSystem(const QString& file, const QString& destination) {
    struct stat fileStat {};
    struct stat folderStat {};
    return ::stat(QFile::encodeName(file).constData(), &fileStat) == 0 &&
           ::stat(QFile::encodeName(QFileInfo(destination).absolutePath()).constData(),
                  &folderStat) == 0 &&
           fileStat.st_dev == folderStat.st_dev;
}

} // namespace

CameraDriveFile::CameraDriveFile(const QString& path, bool isMoveable)
    : filePath(path)
    , moveable(isMoveable) {}

QString CameraDriveFile::title() const {
    return QFileInfo(filePath).fileName();
}

qint64 CameraDriveFile::fileSize() const {
    struct stat st {};
    if (::stat(QFile::encodeName(filePath).constData(), &st) != 0)
        return 0;
    return static_cast<qint64>(st.st_size);
}

QDateTime CameraDriveFile::creationDate() const {
    return ImageUtils::getCreationDateForImage(filePath, QDateTime::currentDateTime());
}

QDateTime CameraDriveFile::modificationDate() const {
    return FileUtils::getModificationDateForFile(filePath);
}

QImage CameraDriveFile::thumbnail() const {
    return ImageUtils::getThumbnail(filePath);
}

bool CameraDriveFile::transferFileTo(const QString& destination, int mode, bool replaceExisting) {
    const int effectiveMode = moveable ? mode : TransferModeCopy;
    if (effectiveMode == TransferModeCopy)
        return copyTo(destination, replaceExisting, true);
    if (effectiveMode != TransferModeMove)
        return false;

    // One file system: a rename is the whole move, atomic and without copy.
    if (onSameFileSystem(filePath, destination))
        return StagedFile::renameInto(filePath, destination, replaceExisting);
    return copyTo(destination, replaceExisting, false);
}

bool CameraDriveFile::copyTo(const QString& destination, bool replaceExisting, bool keepSource) {
    StagedFile staged(destination);
    if (!staged.isValid()) {
        qCWarning(lcCamera) << "cannot create a temporary file beside" << destination;
        return false;
    }
    if (!FileCopy::copyContents(filePath, staged.temporaryPath())) {
        qCWarning(lcCamera) << "cannot copy" << filePath << "to" << destination;
        return false;
    }
    if (!staged.publish(replaceExisting))
        return false;
    if (keepSource)
        return true;
    // The copy is complete, checked and in place; make its name durable
    // before the only other copy goes.
    StagedFile::syncFolderOf(destination);
    if (::unlink(QFile::encodeName(filePath).constData()) != 0) {
        qCWarning(lcCamera) << "copied" << filePath << "but cannot remove it:" << strerror(errno);
        // The file has arrived; a source that stays behind loses nothing.
    }
    return true;
}
