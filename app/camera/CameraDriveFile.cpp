// SPDX-License-Identifier: GPL-3.0-or-later
#include "CameraDriveFile.h"

#include "CameraLog.h"
#include "FileCopy.h"
#include "FileUtils.h"
#include "ImageTransform.h"
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
    : m_filePath(path)
    , m_moveable(isMoveable) {}

QString CameraDriveFile::title() const {
    return QFileInfo(m_filePath).fileName();
}

qint64 CameraDriveFile::fileSize() const {
    struct stat st {};
    if (::stat(QFile::encodeName(m_filePath).constData(), &st) != 0)
        return 0;
    return static_cast<qint64>(st.st_size);
}

QDateTime CameraDriveFile::creationDate() const {
    return ImageUtils::getCreationDateForImage(m_filePath, QDateTime::currentDateTime());
}

QDateTime CameraDriveFile::modificationDate() const {
    return FileUtils::getModificationDateForFile(m_filePath);
}

QImage CameraDriveFile::thumbnail() const {
    return ImageUtils::getThumbnail(m_filePath);
}

bool CameraDriveFile::transferFileTo(const QString& destination, TransferMode mode,
                                     bool replaceExisting) {
    const TransferMode effectiveMode = m_moveable ? mode : TransferModeCopy;
    if (effectiveMode == TransferModeCopy)
        return copyTo(destination, replaceExisting, true, JXFORM_NONE);
    if (effectiveMode != TransferModeMove)
        return false;

    // One file system: a rename is the whole move, atomic and without copy.
    if (onSameFileSystem(m_filePath, destination))
        return StagedFile::renameInto(m_filePath, destination, replaceExisting);
    return copyTo(destination, replaceExisting, false, JXFORM_NONE);
}

bool CameraDriveFile::transferUprightFileTo(const QString& destination, TransferMode mode,
                                            bool replaceExisting) {
    const int code = ImageUtils::uprightTransformFor(m_filePath);
    const TransferMode effectiveMode = m_moveable ? mode : TransferModeCopy;
    // Nothing to turn: the orientation was read once, here.
    if (code <= JXFORM_NONE)
        return transferFileTo(destination, mode, replaceExisting);
    // A rename that needs no copy: turned in place after.
    if (effectiveMode == TransferModeMove && onSameFileSystem(m_filePath, destination))
        return CameraFile::transferUprightFileTo(destination, mode, replaceExisting);
    if (effectiveMode != TransferModeCopy && effectiveMode != TransferModeMove)
        return false;
    return copyTo(destination, replaceExisting, effectiveMode == TransferModeCopy, code);
}

bool CameraDriveFile::writeUprightTo(const QString& path, int uprightCode) const {
    QByteArray bytes;
    if (!FileCopy::readContents(m_filePath, &bytes))
        return false;
    const QByteArray upright = ImageUtils::losslesslyTransformed(bytes, uprightCode);
    // A picture the lossless transform refuses arrives as it is.
    return FileCopy::writeContents(path, upright.isEmpty() ? bytes : upright);
}

bool CameraDriveFile::copyTo(const QString& destination, bool replaceExisting, bool keepSource,
                             int uprightCode) {
    StagedFile staged(destination);
    if (!staged.isValid()) {
        qCWarning(lcCamera) << "cannot create a temporary file beside" << destination;
        return false;
    }
    const bool written = uprightCode > JXFORM_NONE
                             ? writeUprightTo(staged.temporaryPath(), uprightCode)
                             : FileCopy::copyContents(m_filePath, staged.temporaryPath());
    if (!written) {
        qCWarning(lcCamera) << "cannot copy" << m_filePath << "to" << destination;
        return false;
    }
    if (!staged.publish(replaceExisting))
        return false;
    if (keepSource)
        return true;
    // The copy is complete, checked and in place; make its name durable
    // before the only other copy goes.
    StagedFile::syncFolderOf(destination);
    if (::unlink(QFile::encodeName(m_filePath).constData()) != 0) {
        qCWarning(lcCamera) << "copied" << m_filePath << "but cannot remove it:" << strerror(errno);
        // The file has arrived; a source that stays behind loses nothing.
    }
    return true;
}
