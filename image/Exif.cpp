// SPDX-License-Identifier: GPL-3.0-or-later
#include "Exif.h"

#include "ExifDataIO.h"
#include "ImageCropOps.h"
#include "ImageTransformOps.h"
#include "ImageUtils.h"
#include "JpegCompression.h"
#include "JpegData.h"
#include "ScaledJpegReader.h"

#include <FileManagerUtils.h>
#include <FileUtils.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <QStringDecoder>

#include <libexif/exif-data.h>
#include <libexif/exif-utils.h>

#include <cstdlib>
#include <cstring>

namespace {

constexpr int kThumbnailMaxPixelSize = 256;
constexpr double kThumbnailCompression = 0.7;

struct ExifRef {
    ExifData* data = nullptr;
    explicit ExifRef(ExifData* d)
        : data(d) {}
    ~ExifRef() {
        if (data)
            exif_data_unref(data);
    }
    ExifRef(const ExifRef&) = delete;
    ExifRef& operator=(const ExifRef&) = delete;
};

// IFD 0's orientation, 0 when absent or unreadable.
int orientationOf(ExifData* exif) {
    ExifEntry* entry = exif_content_get_entry(exif->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (!entry || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 || !entry->data ||
        entry->size < 2)
        return 0;
    const int value = exif_get_short(entry->data, exif_data_get_byte_order(exif));
    return value >= 1 && value <= 8 ? value : 0;
}

// The thumbnail box for an image of the given pixel size.
QSize thumbnailBox(const QSize& size) {
    if (size.width() > size.height())
        return QSize(160, 120);
    if (size.width() < size.height())
        return QSize(120, 160);
    return QSize(140, 140);
}

// Decodes the JPEG at a reduced DCT scale when it can, else fully.
QImage decodeForThumbnail(const QString& path, QSize* fullSize) {
    *fullSize = ScaledJpegReader::storedSize(path);
    if (fullSize->isValid()) {
        const QSize box = thumbnailBox(*fullSize);
        const QImage scaled = ScaledJpegReader::read(path, box);
        if (!scaled.isNull())
            return scaled;
    }
    QImageReader reader(path);
    reader.setAutoTransform(false);
    const QImage image = reader.read();
    *fullSize = image.size();
    return image;
}

// Loads `path` (a JPEG), puts `exif` in as its EXIF segment, writes the result
// to a new temporary file beside `path` and renames that over `path`. The
// file is untouched unless every step succeeded; a damaged stream is never
// rewritten.
bool rewriteWithExif(const QString& path, ExifData* exif) {
    const QByteArray nativePath = QFile::encodeName(path);
    JPEGData* jpeg = jpeg_data_new_from_file(nativePath.constData());
    if (!jpeg)
        return false;
    bool ok = false;
    if (jpeg_data_is_complete(jpeg)) {
        jpeg_data_set_exif_data(jpeg, exif);
        const QString temporary = FileManagerUtils::temporaryFilename(path);
        if (!temporary.isEmpty()) {
            ok = jpeg_data_save_file(jpeg, QFile::encodeName(temporary).constData()) &&
                 FileUtils::replaceFile(path, temporary, true);
            if (!ok)
                QFile::remove(temporary);
        }
    }
    jpeg_data_unref(jpeg);
    return ok;
}

} // namespace

Exif::Exif(const QString& path)
    : exifData_(ExifDataIO::loadExifDataFromFile(path)) {}

Exif::~Exif() {
    if (exifData_)
        exif_data_unref(exifData_);
}

QString Exif::getTagValue(int tag) const {
    if (!exifData_ || tag < 0 || tag > 0xFFFF)
        return QString();
    ExifEntry* entry = nullptr;
    for (int ifd = EXIF_IFD_0; ifd < EXIF_IFD_COUNT && !entry; ++ifd)
        entry = exif_content_get_entry(exifData_->ifd[ifd], static_cast<ExifTag>(tag));
    if (!entry)
        return QString();
    char buffer[1024] = {};
    if (!exif_entry_get_value(entry, buffer, sizeof buffer))
        return QString();
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(buffer, qstrnlen(buffer, sizeof buffer)));
    if (decoder.hasError())
        return QString();
    // An empty rendering is still a present tag.
    return text.isNull() ? QString(QLatin1String("")) : text;
}

QImage Exif::getExifThumbnail(const QString& path) {
    ExifRef exif(ExifDataIO::loadExifDataFromFile(path));
    if (!exif.data || !exif.data->data || exif.data->size == 0)
        return QImage();
    QImage thumbnail =
        QImage::fromData(QByteArrayView(exif.data->data, qsizetype(exif.data->size)));
    if (thumbnail.isNull())
        return thumbnail;
    thumbnail = ImageTransformOps::orientedUpright(thumbnail, orientationOf(exif.data));
    if (thumbnail.width() > kThumbnailMaxPixelSize || thumbnail.height() > kThumbnailMaxPixelSize)
        thumbnail = thumbnail.scaled(kThumbnailMaxPixelSize, kThumbnailMaxPixelSize,
                                     Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return thumbnail;
}

bool Exif::updateExifThumbnail(const QString& path) {
    ExifRef exif(ExifDataIO::loadExifDataFromFile(path));
    if (!exif.data)
        return false;

    QSize fullSize;
    const QImage image = decodeForThumbnail(path, &fullSize);
    if (image.isNull() || fullSize.isEmpty())
        return false;
    const QImage thumbnail = ImageCropOps::imageScaledToFitSize(image, thumbnailBox(fullSize));

    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArrayLiteral("JPEG"));
    writer.setQuality(JpegCompression::qualityFromSetting(kThumbnailCompression));
    if (!writer.write(thumbnail.convertToFormat(QImage::Format_RGB32)) || encoded.isEmpty())
        return false;

    auto* bytes = static_cast<unsigned char*>(std::malloc(std::size_t(encoded.size())));
    if (!bytes)
        return false;
    std::memcpy(bytes, encoded.constData(), std::size_t(encoded.size()));
    std::free(exif.data->data); // libexif's default allocator is malloc/free
    exif.data->data = bytes;
    exif.data->size = static_cast<unsigned int>(encoded.size());
    return rewriteWithExif(path, exif.data);
}

QDateTime Exif::parseExifDate(const QString& text) {
    if (text.isEmpty())
        return QDateTime();
    QDateTime date = QDateTime::fromString(text, QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    return date.isValid() ? date : QDateTime();
}

bool Exif::trimExifData(const QString& path) {
    if (!ImageUtils::looksLikeJpeg(path))
        return false;
    ExifRef empty(ExifDataIO::newExifData());
    return empty.data && rewriteWithExif(path, empty.data);
}

bool Exif::copyExifDataFromPath(const QString& source, const QString& destination) {
    if (!ImageUtils::looksLikeJpeg(destination))
        return false;
    ExifRef exif(ExifDataIO::loadExifDataFromFile(source));
    return exif.data && rewriteWithExif(destination, exif.data);
}
