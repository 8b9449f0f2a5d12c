// SPDX-License-Identifier: GPL-3.0-or-later
#include "CameraDriveFile.h"

#include "CameraLog.h"
#include "ExifDateReader.h"
#include "FileCopy.h"
#include "FileUtils.h"
#include "ImageTransform.h"
#include "ImageUtils.h"
#include "PictureDecoder.h"
#include "StagedFile.h"
#include "StagedTransfer.h"
#include "TransferMode.h"
#include "transfer/ContentFingerprint.h"
#include "transfer/CopyVerifier.h"

#include <QFile>
#include <QFileInfo>
#include <QMutexLocker>
#include <QScopeGuard>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <semaphore>
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

// Pictures being turned at once: each holds its coefficients (some
// 100 MB for 24 megapixels) and two keep two processors busy.
std::counting_semaphore<2> turnsUnderWay(2);

} // namespace

CameraDriveFile::CameraDriveFile(const QString& path, bool isMoveable)
    : m_filePath(path)
    , m_title(path.sliced(path.lastIndexOf(QLatin1Char('/')) + 1))
    , m_moveable(isMoveable) {}

QString CameraDriveFile::title() const {
    return m_title;
}

qint64 CameraDriveFile::fileSize() const {
    const qint64 known = m_fileSize.load();
    if (known >= 0)
        return known;
    struct stat st {};
    if (::stat(QFile::encodeName(m_filePath).constData(), &st) != 0)
        return 0;
    m_fileSize.store(static_cast<qint64>(st.st_size));
    return static_cast<qint64>(st.st_size);
}

QDateTime CameraDriveFile::creationDate() const {
    const QMutexLocker locker(&m_dateLock);
    if (!m_creationDate)
        readHead();
    return *m_creationDate;
}

void CameraDriveFile::readForScan(const FingerprintWanted& fingerprintWanted) const {
    const QMutexLocker locker(&m_dateLock);
    if (!m_creationDate)
        readHead(fingerprintWanted);
}

std::optional<quint64> CameraDriveFile::knownFingerprint() const {
    const QMutexLocker locker(&m_dateLock);
    return m_fingerprint;
}

void CameraDriveFile::readHead(const FingerprintWanted& fingerprintWanted) const {
    // Enough for the EXIF tags of a camera's JPEG, and the whole of a tiny one.
    constexpr qint64 headBytes = 4096;
    QByteArray head;
    const int fd =
        ::open(QFile::encodeName(m_filePath).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) {
        const qint64 size = st.st_size;
        m_fileSize.store(size);
        std::optional<QByteArray> edges;
        if (size > headBytes && fingerprintWanted && fingerprintWanted(title(), size))
            edges = ContentFingerprint::readEdges(fd, size);
        if (edges) {
            // The first edge holds the head: the file is read once.
            m_fingerprint = ContentFingerprint::ofEdges(size, *edges);
            head = edges->first(headBytes);
        } else {
            head.resize(qMin(size, headBytes));
            const ssize_t got = ::pread(fd, head.data(), size_t(head.size()), 0);
            head.truncate(got > 0 ? qsizetype(got) : 0);
            if (head.size() == size)
                m_fingerprint = ContentFingerprint::ofWholeFile(head);
        }
    }
    if (fd >= 0)
        ::close(fd);
    // RAW and HEIF files keep their date elsewhere.
    const PictureDecoder::Format format = PictureDecoder::formatByName(m_filePath);
    if (format != PictureDecoder::Format::Raw && format != PictureDecoder::Format::Heif) {
        const QDateTime digitized = ExifDateReader::digitizedIn(std::span(
            reinterpret_cast<const std::uint8_t*>(head.constData()), size_t(head.size())));
        if (digitized.isValid()) {
            m_creationDate = digitized;
            return;
        }
    }
    m_creationDate = ImageUtils::getCreationDateForImage(m_filePath, QDateTime::currentDateTime());
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

std::unique_ptr<StagedTransfer> CameraDriveFile::stageTransferTo(const QString& destination,
                                                                 TransferMode mode, bool upright) {
    const TransferMode effectiveMode = m_moveable ? mode : TransferModeCopy;
    if (effectiveMode != TransferModeCopy && effectiveMode != TransferModeMove)
        return nullptr;
    const int code = upright ? ImageUtils::uprightTransformFor(m_filePath) : JXFORM_NONE;
    // One file system and nothing to turn: a rename is the whole move. A
    // turned picture is written anew either way, so it is copied.
    if (effectiveMode == TransferModeMove && code <= JXFORM_NONE &&
        onSameFileSystem(m_filePath, destination))
        return StagedTransfer::renaming(m_filePath, destination);
    return stageCopy(destination, effectiveMode == TransferModeCopy, code);
}

std::unique_ptr<StagedTransfer> CameraDriveFile::stageCopy(const QString& destination,
                                                           bool keepSource, int uprightCode) const {
    auto staged = std::make_unique<StagedFile>(destination);
    if (!staged->isValid()) {
        qCWarning(lcCamera) << "cannot create a temporary file beside" << destination;
        return nullptr;
    }
    const int temporary = staged->descriptor();
    auto transfer = std::make_unique<StagedTransfer>(std::move(staged), m_filePath, !keepSource);
    // Checked before it is published, so a bad copy never stands under its
    // name; dropping the transfer removes it.
    const bool verify = !keepSource || verifiesCopies();
    bool written = false;
    // The copy keeps the source's modification time (its access time is
    // the copy's own).
    timespec times[2] = {{0, UTIME_OMIT}, {0, UTIME_OMIT}};
    if (uprightCode > JXFORM_NONE) {
        turnsUnderWay.acquire();
        const auto turned = qScopeGuard([] { turnsUnderWay.release(); });
        QByteArray bytes;
        if (FileCopy::readContents(m_filePath, &bytes, FileCopy::defaultMaxSize, &times[1])) {
            const QByteArray upright = ImageUtils::losslesslyTransformed(bytes, uprightCode);
            // A picture the lossless transform refuses arrives as it is.
            const QByteArray& contents = upright.isEmpty() ? bytes : upright;
            written = FileCopy::writeContents(temporary, contents, FileCopy::Durability::Unflushed);
            if (verify)
                transfer->checkAgainstHash(CopyVerifier::hashOf(contents));
        }
    } else {
        written = FileCopy::copyContents(m_filePath, temporary, {}, FileCopy::Durability::Unflushed,
                                         &times[1]);
        if (verify)
            transfer->checkAgainstSource();
    }
    if (!written) {
        qCWarning(lcCamera) << "cannot copy" << m_filePath << "to" << destination;
        return nullptr;
    }
    ::futimens(temporary, times);
    return transfer;
}

bool CameraDriveFile::copyTo(const QString& destination, bool replaceExisting, bool keepSource,
                             int uprightCode) {
    const std::unique_ptr<StagedTransfer> transfer =
        stageCopy(destination, keepSource, uprightCode);
    if (!transfer || !transfer->flush() || !transfer->holds() ||
        !transfer->publish(replaceExisting))
        return false;
    // The copy is complete, checked and in place; make its name durable
    // before the only other copy goes.
    if (!keepSource) {
        StagedFile::syncFolderOf(destination);
        transfer->removeSource();
    }
    return true;
}
