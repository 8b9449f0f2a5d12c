// SPDX-License-Identifier: GPL-3.0-or-later
#include "Exif.h"

#include "ExifDataIO.h"
#include "ImageCropOps.h"
#include "ImageTransformOps.h"
#include "ImageUtils.h"
#include "JpegCompression.h"
#include "JpegData.h"
#include "JpegSegmentReader.h"
#include "LibexifHandles.h"
#include "ScaledJpegReader.h"

#include <FileCopy.h>
#include <FileManagerUtils.h>
#include <FileUtils.h>

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QStringDecoder>

#include <libexif/exif-data.h>
#include <libexif/exif-utils.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <span>
#include <utility>

namespace {

constexpr int kThumbnailMaxPixelSize = 256;
constexpr double kThumbnailCompression = 0.7;

// The thumbnail box for an image of the given pixel size.
QSize thumbnailBox(const QSize& size) {
    if (size.width() > size.height())
        return QSize(160, 120);
    if (size.width() < size.height())
        return QSize(120, 160);
    return QSize(140, 140);
}

// Sets the SHORT orientation tag of one IFD, when it has one.
void setOrientation(ExifData* exif, ExifIfd ifd, int orientation) {
    ExifEntry* entry = exif_content_get_entry(exif->ifd[ifd], EXIF_TAG_ORIENTATION);
    if (entry && entry->format == EXIF_FORMAT_SHORT && entry->components >= 1 && entry->data &&
        entry->size >= 2)
        exif_set_short(entry->data, exif_data_get_byte_order(exif), ExifShort(orientation));
}

QByteArray encodedThumbnail(const QImage& image, const QSize& box) {
    const QImage thumbnail = ImageCropOps::imageScaledToFitSize(image, box);
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArrayLiteral("JPEG"));
    writer.setQuality(JpegCompression::qualityFromSetting(kThumbnailCompression));
    if (!writer.write(thumbnail.convertToFormat(QImage::Format_RGB32)))
        return QByteArray();
    return encoded;
}

// A new thumbnail for JPEG bytes, encoded as JPEG: the old one turned by
// `oldTransform` when there is one and a code is given, else made from the
// pixels, decoded at the smallest DCT scale that covers the box.
QByteArray newThumbnailFor(const QByteArray& jpeg, const ExifData* exif, int oldTransform) {
    const QSize fullSize = ScaledJpegReader::storedSize(jpeg);
    if (!fullSize.isValid())
        return QByteArray();
    const QSize box = thumbnailBox(fullSize);
    if (oldTransform >= 0 && exif->data && exif->size > 0) {
        // Compressed EXIF thumbnails are JPEG; naming the format spares
        // loading every image plugin to guess it.
        const QImage old =
            QImage::fromData(QByteArrayView(exif->data, qsizetype(exif->size)), "JPEG");
        if (!old.isNull())
            return encodedThumbnail(ImageTransformOps::transformedLikeJpeg(old, oldTransform), box);
    }
    const QImage image = ScaledJpegReader::read(jpeg, box);
    return image.isNull() ? QByteArray() : encodedThumbnail(image, box);
}

// Hands `bytes` to libexif as the thumbnail (libexif frees it with free()).
bool setThumbnail(ExifData* exif, const QByteArray& bytes) {
    auto* copy = static_cast<unsigned char*>(std::malloc(std::size_t(bytes.size())));
    if (!copy)
        return false;
    std::memcpy(copy, bytes.constData(), std::size_t(bytes.size()));
    std::free(exif->data);
    exif->data = copy;
    exif->size = static_cast<unsigned int>(bytes.size());
    return true;
}

// Where the entropy-coded data of the first scan begins: just past the
// start-of-scan segment. -1 when the stream does not start with SOI, when a
// marker segment before the scan is damaged, or when there is no scan.
qsizetype startOfImageData(const QByteArray& jpeg) {
    JpegSegmentReader segments(std::span(reinterpret_cast<const std::uint8_t*>(jpeg.constData()),
                                         std::size_t(jpeg.size())));
    const auto soi = segments.next();
    if (!soi || soi->marker != JPEG_MARKER_SOI || soi->offset != 0)
        return -1;
    while (const auto segment = segments.next()) {
        if (segment->marker == JPEG_MARKER_SOI || segment->marker == JPEG_MARKER_EOI)
            return -1;
        if (segment->marker == JPEG_MARKER_SOS)
            return qsizetype(segment->end);
    }
    return -1;
}

struct JpegDataUnref {
    void operator()(JPEGData* data) const { jpeg_data_unref(data); }
};
using JpegDataPtr = std::unique_ptr<JPEGData, JpegDataUnref>;

// Loads `path` (a JPEG), puts `exif` in as its EXIF segment, writes the result
// to a new temporary file beside `path` and renames that over `path`. The
// file is untouched unless every step succeeded; a damaged stream is never
// rewritten.
bool rewriteWithExif(const QString& path, ExifData* exif) {
    const JpegDataPtr jpeg(jpeg_data_new_from_file(QFile::encodeName(path).constData()));
    if (!jpeg || !jpeg_data_is_complete(jpeg.get()))
        return false;
    jpeg_data_set_exif_data(jpeg.get(), exif);
    const QString temporary = FileManagerUtils::temporaryFilename(path);
    if (temporary.isEmpty())
        return false;
    const bool ok = jpeg_data_save_file(jpeg.get(), QFile::encodeName(temporary).constData()) &&
                    FileUtils::replaceFile(path, temporary, true);
    if (!ok)
        QFile::remove(temporary);
    return ok;
}

} // namespace

Exif::Exif(const QString& path)
    : m_parsedExif(ExifDataIO::loadExifDataFromFile(path)) {}

Exif::Exif(ExifDataPtr parsed)
    : m_parsedExif(std::move(parsed)) {}

Exif::~Exif() = default;

QString Exif::getTagValue(int tag) const {
    if (!m_parsedExif || tag < 0 || tag > 0xFFFF)
        return QString();
    ExifEntry* entry = nullptr;
    for (int ifd = EXIF_IFD_0; ifd < EXIF_IFD_COUNT && !entry; ++ifd)
        entry = exif_content_get_entry(m_parsedExif->ifd[ifd], static_cast<ExifTag>(tag));
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
    const ExifDataPtr exif(ExifDataIO::loadExifDataFromFile(path));
    if (!exif || !exif->data || exif->size == 0)
        return QImage();
    QImage thumbnail = QImage::fromData(QByteArrayView(exif->data, qsizetype(exif->size)));
    if (thumbnail.isNull())
        return thumbnail;
    thumbnail = ImageTransformOps::orientedUpright(thumbnail, orientationOf(exif.get()));
    if (thumbnail.width() > kThumbnailMaxPixelSize || thumbnail.height() > kThumbnailMaxPixelSize)
        thumbnail = thumbnail.scaled(kThumbnailMaxPixelSize, kThumbnailMaxPixelSize,
                                     Qt::KeepAspectRatio, Qt::SmoothTransformation);
    return thumbnail;
}

bool Exif::updateExifThumbnail(const QString& path) {
    QByteArray bytes;
    if (!FileCopy::readContents(path, &bytes))
        return false;
    bool regenerated = false;
    bytes = withUpdatedExif(bytes, 0, -1, &regenerated);
    return regenerated && FileUtils::replaceFileContents(path, bytes);
}

QByteArray Exif::withUpdatedExif(const QByteArray& jpeg, int orientation, int oldThumbnailTransform,
                                 bool* thumbnailRegenerated) {
    if (thumbnailRegenerated)
        *thumbnailRegenerated = false;
    // Only the markers up to the image data go through the section module;
    // the image data, nearly all of the file, is copied once, at the end.
    const qsizetype imageData = startOfImageData(jpeg);
    if (imageData < 0 || imageData > qsizetype(0xFFFFFFFFu))
        return QByteArray();
    const JpegDataPtr data(
        jpeg_data_new_from_data(reinterpret_cast<const unsigned char*>(jpeg.constData()),
                                static_cast<unsigned int>(imageData)));
    // A damaged stream is never written back.
    if (!data || !jpeg_data_is_complete(data.get()))
        return QByteArray();
    const ExifDataPtr exif(jpeg_data_get_exif_data(data.get()));
    if (!exif)
        return jpeg;

    if (orientation != 0) {
        setOrientation(exif.get(), EXIF_IFD_0, orientation);
        setOrientation(exif.get(), EXIF_IFD_1, orientation);
    }
    const QByteArray thumbnail = newThumbnailFor(jpeg, exif.get(), oldThumbnailTransform);
    const bool regenerated = !thumbnail.isEmpty() && setThumbnail(exif.get(), thumbnail);
    jpeg_data_set_exif_data(data.get(), exif.get());

    unsigned char* saved = nullptr;
    unsigned int size = 0;
    jpeg_data_save_data(data.get(), &saved, &size);
    if (!saved)
        return QByteArray();
    QByteArray result;
    result.reserve(qsizetype(size) + jpeg.size() - imageData);
    result.append(reinterpret_cast<const char*>(saved), qsizetype(size));
    std::free(saved);
    result.append(jpeg.constData() + imageData, jpeg.size() - imageData);
    if (thumbnailRegenerated)
        *thumbnailRegenerated = regenerated;
    return result;
}

int Exif::orientationOf(ExifData* exif) {
    if (!exif)
        return 0;
    ExifEntry* entry = exif_content_get_entry(exif->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (!entry || entry->format != EXIF_FORMAT_SHORT || entry->components < 1 || !entry->data ||
        entry->size < 2)
        return 0;
    const int value = exif_get_short(entry->data, exif_data_get_byte_order(exif));
    return value >= 1 && value <= 8 ? value : 0;
}

QDateTime Exif::parseExifDate(const QString& text) {
    // Read by hand: Qt's format parser looks the time zone up several times
    // per call, and a scan parses one date per file.
    static constexpr char shape[] = "dddd:dd:dd dd:dd:dd";
    if (text.size() != qsizetype(sizeof shape - 1))
        return QDateTime();
    int fields[6] = {};
    int field = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (shape[i] != 'd') {
            if (c != char16_t(shape[i]))
                return QDateTime();
            ++field;
        } else if (c >= u'0' && c <= u'9') {
            fields[field] = fields[field] * 10 + (c - u'0');
        } else {
            return QDateTime();
        }
    }
    const QDate day(fields[0], fields[1], fields[2]);
    const QTime time(fields[3], fields[4], fields[5]);
    if (!day.isValid() || !time.isValid())
        return QDateTime();
    const QDateTime date(day, time);
    return date.isValid() ? date : QDateTime();
}

bool Exif::trimExifData(const QString& path) {
    if (!ImageUtils::looksLikeJpeg(path))
        return false;
    const ExifDataPtr empty(ExifDataIO::newExifData());
    return empty && rewriteWithExif(path, empty.get());
}

bool Exif::copyExifDataFromPath(const QString& source, const QString& destination) {
    if (!ImageUtils::looksLikeJpeg(destination))
        return false;
    const ExifDataPtr exif(ExifDataIO::loadExifDataFromFile(source));
    return exif && rewriteWithExif(destination, exif.get());
}
