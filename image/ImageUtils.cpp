// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageUtils.h"

#include "Exif.h"
#include "ExifOrient.h"
#include "HeifPictureReader.h"
#include "ImageBitmapOps.h"
#include "ImageTransform.h"
#include "ImageTransformOps.h"
#include "JpegTransform.h"
#include "PictureDecoder.h"
#include "RawPictureReader.h"

#include <FileCopy.h>
#include <FileManagerUtils.h>
#include <FileUtils.h>

#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <cstring>

namespace {

// The transfer's thumbnails: the size EXIF thumbnails are made at.
constexpr int kTransferThumbnailPixels = 256;

bool startsWith(const QString& path, const char* signature, qint64 length) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(length);
    return head.size() == length && std::memcmp(head.constData(), signature, length) == 0;
}

} // namespace

bool ImageUtils::looksLikeJpeg(const QString& path) {
    if (FileUtils::isFile(path, QStringLiteral("image/jpeg"), FileUtils::jpegExtensions()))
        return true;
    return startsWith(path, "\xFF\xD8\xFF", 3);
}

bool ImageUtils::looksLikePng(const QString& path) {
    if (FileUtils::isFile(path, QStringLiteral("image/png"), FileUtils::pngExtensions()))
        return true;
    return startsWith(path, "\x89PNG", 4);
}

QSize ImageUtils::getImageSize(const QString& path) {
    // Qt's TIFF reader would take a RAW file's first page, its preview.
    const PictureDecoder::Format format = QFileInfo(path).isFile()
                                              ? PictureDecoder::formatByName(path)
                                              : PictureDecoder::Format::Unknown;
    if (format == PictureDecoder::Format::Raw) {
        const RawPictureReader raw(path);
        if (raw.isValid())
            return raw.metadata().size;
    } else if (format == PictureDecoder::Format::Heif) {
        const QSize size = HeifPictureReader(path).size();
        return size.isValid() ? size : QSize(0, 0);
    }
    QImageReader reader(path);
    const QSize size = reader.size();
    return size.isValid() ? size : QSize(0, 0);
}

QDateTime ImageUtils::getCreationDateForImage(const QString& path) {
    return getCreationDateForImage(path, QDateTime::currentDateTime());
}

QDateTime ImageUtils::getCreationDateForImage(const QString& path, const QDateTime& fallback) {
    // RAW and HEIF files carry the capture date in their own structures
    // (read from regular files only: a FIFO would never end).
    const PictureDecoder::Format format = PictureDecoder::formatByName(path);
    QDateTime taken;
    if (format == PictureDecoder::Format::Raw && QFileInfo(path).isFile())
        taken = RawPictureReader(path).metadata().taken;
    else if (format == PictureDecoder::Format::Heif && QFileInfo(path).isFile())
        taken = HeifPictureReader(path).metadata().taken;
    if (taken.isValid())
        return taken;
    const QDateTime digitized = Exif::parseExifDate(Exif(path).getTagValue(36868));
    if (digitized.isValid())
        return digitized;
    const QDateTime created = FileUtils::getCreationDateForFile(path);
    if (created.isValid())
        return created;
    return fallback;
}

QImage ImageUtils::getThumbnail(const QString& path) {
    if (FileUtils::isImageFile(path)) {
        // Only what the file carries ready-made: this runs once per file
        // as a transfer goes.
        PictureDecoder::Request request;
        request.pixels = kTransferThumbnailPixels;
        request.exifThumbnail = true;
        request.embeddedOnly = true;
        const QImage thumbnail = PictureDecoder::decode(path, request).image;
        if (!thumbnail.isNull())
            return thumbnail;
    }
    return FileUtils::getIcon(path).pixmap(128, 128).toImage();
}

bool ImageUtils::transformImage(const QString& path, int transform, double jpegCompression) {
    if (looksLikeJpeg(path)) {
        QByteArray bytes;
        if (FileCopy::readContents(path, &bytes)) {
            const QByteArray lossless =
                losslesslyTransformed(bytes, imageTransformToJpegTransform(transform));
            if (!lossless.isEmpty())
                return FileUtils::replaceFileContents(path, lossless);
        }
    }
    // Not JPEG, or a size the lossless transform refuses: re-encode.
    QImageReader reader(path);
    reader.setAutoTransform(false);
    const QImage image = reader.read();
    if (image.isNull())
        return false;
    const QImage transformed = ImageTransformOps::transform(image, transform);
    const QString temporary = FileManagerUtils::temporaryFilename(path);
    if (temporary.isEmpty())
        return false;
    if (!ImageBitmapOps::saveSameAs(transformed, path, temporary, jpegCompression)) {
        QFile::remove(temporary);
        return false;
    }
    return finalizeTransformOf(path, temporary, true, 1);
}

bool ImageUtils::autoLosslessRotateImage(const QString& path) {
    const int code = uprightTransformFor(path);
    if (code == JXFORM_NONE)
        return true;
    if (code < 0)
        return false;
    QByteArray bytes;
    if (!FileCopy::readContents(path, &bytes))
        return false;
    const QByteArray upright = losslesslyTransformed(bytes, code);
    bytes.clear();
    return !upright.isEmpty() && FileUtils::replaceFileContents(path, upright);
}

int ImageUtils::uprightTransformFor(const QString& path) {
    if (!looksLikeJpeg(path))
        return -1;
    unsigned char orientation = 0;
    if (!exif_orient(QFile::encodeName(path).constData(), &orientation))
        return -1;
    return exifOrientToJpegTransform(orientation);
}

QByteArray ImageUtils::losslesslyTransformed(const QByteArray& jpeg, int code) {
    const QByteArray transformed = jpegTransformData(jpeg, code);
    if (transformed.isEmpty())
        return transformed;
    return Exif::withUpdatedExif(transformed, 1, code);
}

bool ImageUtils::finalizeTransformOf(const QString& source, const QString& transformed,
                                     bool copyExifData, std::uint8_t orientation) {
    if (transformed.isEmpty())
        return false;
    if (copyExifData)
        Exif::copyExifDataFromPath(source, transformed);
    if (orientation != 0) {
        unsigned char value = orientation;
        exif_orient(QFile::encodeName(transformed).constData(), &value);
    }
    Exif::updateExifThumbnail(transformed);
    const QDateTime created = FileUtils::getCreationDateForFile(source);
    // The transformed file is a temporary of ours: removed if it cannot
    // take the source's place.
    if (!FileUtils::replaceFile(source, transformed, true))
        return false;
    if (created.isValid())
        FileUtils::setCreationDate(created, source);
    return true;
}
