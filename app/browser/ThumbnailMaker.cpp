// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThumbnailMaker.h"

#include "DecodeLimits.h"
#include "Exif.h"
#include "ExifDataIO.h"
#include "ImageTransformOps.h"
#include "ImageUtils.h"
#include "LibexifHandles.h"
#include "ScaledJpegReader.h"

#include "FileUtils.h"
#include "OpenedPath.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMutex>
#include <QMutexLocker>

#include <libexif/exif-utils.h>

#include <algorithm>
#include <optional>
#include <utility>

namespace {

// An EXIF thumbnail lives in one 64 KB segment; a larger declared size is
// a forgery meant to make us allocate.
constexpr int kMaxEmbeddedSide = 4096;
QMutex& movieSourceLock() {
    static QMutex lock;
    return lock;
}

ThumbnailMaker::MovieFrameSource& movieSource() {
    static ThumbnailMaker::MovieFrameSource source;
    return source;
}

QSize sizeToFit(const QSize& size, int pixels) {
    const int box = std::max(pixels, 1);
    if (size.width() <= box && size.height() <= box)
        return size;
    return size.scaled(box, box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

bool isTransposing(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

QImage embeddedThumbnail(ExifData* exif, int pixels) {
    if (!exif || !exif->data || exif->size == 0)
        return QImage();
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(exif->data), qsizetype(exif->size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    // IFD 1 holds JPEG thumbnails only; naming the format spares probing
    // every plugin.
    QImageReader reader(&buffer, QByteArrayLiteral("jpeg"));
    reader.setAutoTransform(false);
    const QSize declared = reader.size();
    if (!declared.isValid() || declared.width() > kMaxEmbeddedSide ||
        declared.height() > kMaxEmbeddedSide)
        return QImage();
    const QImage image = reader.read();
    if (image.isNull())
        return image;
    return ImageTransformOps::orientedUpright(ThumbnailMaker::scaledToFit(image, pixels),
                                              Exif::orientationOf(exif));
}

bool startsLikeJpeg(const QByteArray& bytes) {
    return bytes.startsWith("\xFF\xD8\xFF");
}

// Decoded at the smallest DCT scale that covers the size asked for. Empty
// when the bytes are no JPEG; a null image when the JPEG is refused or
// cannot be decoded (no other reader is to try it then: Qt's would hit
// the same buffers).
std::optional<QImage> jpegThumbnail(const QByteArray& bytes, int orientation, int pixels,
                                    QSize* originalSize) {
    const QSize stored = ScaledJpegReader::storedSize(bytes);
    if (!stored.isValid())
        return std::nullopt;
    if (!DecodeLimits::acceptableJpeg(bytes))
        return QImage();
    const QImage image = ScaledJpegReader::read(bytes, sizeToFit(stored, pixels));
    if (image.isNull())
        return image;
    if (originalSize)
        *originalSize = isTransposing(orientation) ? stored.transposed() : stored;
    return ImageTransformOps::orientedUpright(ThumbnailMaker::scaledToFit(image, pixels),
                                              orientation);
}

QImage readerThumbnail(QImageReader& reader, int pixels, QSize* originalSize) {
    reader.setAutoTransform(true);
    const QSize declared = reader.size();
    if (!DecodeLimits::acceptableSize(declared))
        return QImage();
    // The scaled size is of the stored picture; the box is square, so the
    // turn that follows keeps it inside.
    const QSize target = sizeToFit(declared, pixels);
    if (target != declared && reader.supportsOption(QImageIOHandler::ScaledSize))
        reader.setScaledSize(target);
    const QImage image = reader.read();
    if (image.isNull())
        return image;
    if (originalSize)
        *originalSize = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90)
                            ? declared.transposed()
                            : declared;
    return ThumbnailMaker::scaledToFit(image, pixels);
}

QImage pictureThumbnail(const QString& path, int pixels, QSize* originalSize) {
    // Not a FIFO or device that happens to carry an image's extension.
    if (!QFileInfo(path).isFile())
        return QImage();
    const ExifDataPtr exif(ExifDataIO::loadExifDataFromFile(path));
    const QImage image = embeddedThumbnail(exif.get(), pixels);
    if (!image.isNull())
        return image;
    if (ImageUtils::looksLikeJpeg(path)) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            return QImage();
        const std::optional<QImage> jpeg =
            jpegThumbnail(file.readAll(), Exif::orientationOf(exif.get()), pixels, originalSize);
        if (jpeg)
            return *jpeg;
    }
    // Another format, or a file named .jpg that is none.
    QImageReader reader(path);
    return readerThumbnail(reader, pixels, originalSize);
}

} // namespace

QImage ThumbnailMaker::makeThumbnail(const QString& path, int pixels, QSize* originalSize) {
    if (originalSize)
        *originalSize = QSize();
    // The kind by the name as listed; the bytes through a path Qt can open.
    const OpenedPath opened(path);
    if (opened.path().isEmpty())
        return QImage();
    if (FileUtils::isImageFile(path))
        return pictureThumbnail(opened.path(), pixels, originalSize);
    if (FileUtils::isVideoFile(path)) {
        MovieFrameSource source;
        {
            QMutexLocker locker(&movieSourceLock());
            source = movieSource();
        }
        return source ? scaledToFit(source(opened.path(), pixels), pixels) : QImage();
    }
    return QImage();
}

QImage ThumbnailMaker::thumbnailFromBytes(const QByteArray& bytes, int pixels) {
    if (bytes.isEmpty())
        return QImage();
    if (startsLikeJpeg(bytes)) {
        const ExifDataPtr exif(ExifDataIO::loadExifData(
            reinterpret_cast<const unsigned char*>(bytes.constData()), std::size_t(bytes.size())));
        const QImage image = embeddedThumbnail(exif.get(), pixels);
        if (!image.isNull())
            return image;
        const std::optional<QImage> jpeg =
            jpegThumbnail(bytes, Exif::orientationOf(exif.get()), pixels, nullptr);
        if (jpeg)
            return *jpeg;
    }
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return readerThumbnail(reader, pixels, nullptr);
}

QImage ThumbnailMaker::scaledToFit(const QImage& image, int pixels) {
    if (image.isNull())
        return image;
    const QSize target = sizeToFit(image.size(), pixels);
    if (target == image.size())
        return image;
    return image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

void ThumbnailMaker::setMovieFrameSource(MovieFrameSource source) {
    QMutexLocker locker(&movieSourceLock());
    movieSource() = std::move(source);
}

bool ThumbnailMaker::hasMovieFrameSource() {
    QMutexLocker locker(&movieSourceLock());
    return bool(movieSource());
}
