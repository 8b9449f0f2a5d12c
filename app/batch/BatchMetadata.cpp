// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchMetadata.h"

#include "Exif.h"
#include "ExifDataIO.h"
#include "ImageCropOps.h"
#include "JpegCompression.h"
#include "JpegData.h"
#include "JpegSegmentReader.h"
#include "LanczosScaler.h"

#include <QBuffer>
#include <QImageWriter>
#include <QMap>

#include <libexif/exif-utils.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

namespace {

constexpr char kIccSignature[] = "ICC_PROFILE"; // and a NUL: 12 bytes
constexpr qsizetype kIccHeader = 14;            // signature, chunk number, chunk count
constexpr qsizetype kIccChunk = qsizetype(kJpegMaxSegmentPayload) - kIccHeader;
constexpr double kThumbnailCompression = 0.7;
constexpr int kMarkerApp2 = 0xE2;

QByteArray payloadOf(std::span<const std::uint8_t> payload) {
    return QByteArray(reinterpret_cast<const char*>(payload.data()), qsizetype(payload.size()));
}

void appendSegment(QByteArray& out, int marker, const QByteArray& payload) {
    const qsizetype length = payload.size() + 2;
    out.append(char(0xFF)).append(char(marker));
    out.append(char(length >> 8)).append(char(length & 0xFF));
    out.append(payload);
}

// The thumbnail box of the EXIF thumbnail for a picture of `size`.
QSize thumbnailBox(const QSize& size) {
    if (size.width() > size.height())
        return QSize(160, 120);
    if (size.width() < size.height())
        return QSize(120, 160);
    return QSize(140, 140);
}

QByteArray thumbnailOf(const QImage& picture) {
    const QSize box = thumbnailBox(picture.size());
    const QSize fitted = picture.size().scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
    const QImage scaled = LanczosScaler::scaled(picture, fitted);
    const QImage thumbnail =
        ImageCropOps::imageScaledToFitSize(scaled, box).convertToFormat(QImage::Format_RGB32);
    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArrayLiteral("JPEG"));
    writer.setQuality(JpegCompression::qualityFromSetting(kThumbnailCompression));
    return writer.write(thumbnail) ? encoded : QByteArray();
}

// Sets a SHORT or LONG tag, keeping a SHORT where the value fits one and
// adding a LONG where there was none (when `add`).
void setDimension(ExifData* exif, ExifIfd ifd, ExifTag tag, int value, bool add) {
    ExifEntry* entry = exif_content_get_entry(exif->ifd[ifd], tag);
    const ExifByteOrder order = exif_data_get_byte_order(exif);
    if (entry && entry->format == EXIF_FORMAT_SHORT && entry->components == 1 && entry->data &&
        entry->size >= 2 && value <= 0xFFFF) {
        exif_set_short(entry->data, order, ExifShort(value));
        return;
    }
    if (!entry && !add)
        return;
    auto* data = static_cast<unsigned char*>(std::calloc(1, 4));
    if (!data)
        return;
    if (!entry) {
        entry = exif_entry_new();
        if (!entry) {
            std::free(data);
            return;
        }
        entry->tag = tag;
        exif_content_add_entry(exif->ifd[ifd], entry);
        exif_entry_unref(entry); // the content holds it now
    }
    // libexif's default allocator is malloc's, so its entries free with free().
    std::free(entry->data);
    entry->data = data;
    entry->size = 4;
    entry->format = EXIF_FORMAT_LONG;
    entry->components = 1;
    exif_set_long(entry->data, order, ExifLong(value));
}

void setOrientation(ExifData* exif, ExifIfd ifd) {
    ExifEntry* entry = exif_content_get_entry(exif->ifd[ifd], EXIF_TAG_ORIENTATION);
    if (entry && entry->format == EXIF_FORMAT_SHORT && entry->components >= 1 && entry->data &&
        entry->size >= 2)
        exif_set_short(entry->data, exif_data_get_byte_order(exif), 1);
}

void setThumbnail(ExifData* exif, const QByteArray& bytes) {
    std::free(exif->data);
    exif->data = nullptr;
    exif->size = 0;
    if (bytes.isEmpty())
        return;
    exif->data = static_cast<unsigned char*>(std::malloc(std::size_t(bytes.size())));
    if (!exif->data)
        return;
    std::memcpy(exif->data, bytes.constData(), std::size_t(bytes.size()));
    exif->size = static_cast<unsigned int>(bytes.size());
}

void addEntry(ExifData* exif, ExifIfd ifd, ExifTag tag, ExifFormat format, unsigned long components,
              const QByteArray& bytes) {
    if (ExifEntry* old = exif_content_get_entry(exif->ifd[ifd], tag))
        exif_content_remove_entry(exif->ifd[ifd], old);
    ExifEntry* entry = exif_entry_new();
    if (!entry)
        return;
    entry->data = static_cast<unsigned char*>(std::malloc(std::size_t(bytes.size())));
    if (entry->data) {
        std::memcpy(entry->data, bytes.constData(), std::size_t(bytes.size()));
        entry->size = static_cast<unsigned int>(bytes.size());
        entry->tag = tag;
        entry->format = format;
        entry->components = components;
        exif_content_add_entry(exif->ifd[ifd], entry);
    }
    exif_entry_unref(entry); // the content holds it, if added
}

void addText(ExifData* exif, ExifIfd ifd, ExifTag tag, const QString& text) {
    if (text.isEmpty())
        return;
    const QByteArray bytes = text.toLatin1() + '\0';
    addEntry(exif, ifd, tag, EXIF_FORMAT_ASCII, std::size_t(bytes.size()), bytes);
}

void addShort(ExifData* exif, ExifIfd ifd, ExifTag tag, int value) {
    QByteArray bytes(2, '\0');
    exif_set_short(reinterpret_cast<unsigned char*>(bytes.data()), exif_data_get_byte_order(exif),
                   ExifShort(value));
    addEntry(exif, ifd, tag, EXIF_FORMAT_SHORT, 1, bytes);
}

// Tenths are as fine as cameras state f-numbers and focal lengths; an
// exposure below a second is kept as 1/n.
void addRational(ExifData* exif, ExifIfd ifd, ExifTag tag, double value, bool reciprocal) {
    if (!(value > 0) || value > 100000)
        return;
    ExifRational rational{ExifLong(std::lround(value * 10)), 10};
    if (reciprocal && value < 1)
        rational = ExifRational{1, ExifLong(std::lround(1 / value))};
    QByteArray bytes(8, '\0');
    exif_set_rational(reinterpret_cast<unsigned char*>(bytes.data()),
                      exif_data_get_byte_order(exif), rational);
    addEntry(exif, ifd, tag, EXIF_FORMAT_RATIONAL, 1, bytes);
}

QByteArray saved(ExifData* exif) {
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(exif, &bytes, &size);
    QByteArray block(reinterpret_cast<const char*>(bytes), qsizetype(bytes ? size : 0));
    std::free(bytes);
    return block;
}

std::uint32_t crc32(const QByteArray& bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (const char byte : bytes) {
        crc ^= std::uint8_t(byte);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

void appendBigEndian32(QByteArray& out, std::uint32_t value) {
    out.append(char(value >> 24))
        .append(char(value >> 16))
        .append(char(value >> 8))
        .append(char(value));
}

} // namespace

BatchMetadata BatchMetadata::fromJpeg(const QByteArray& jpeg) {
    BatchMetadata metadata;
    QMap<int, QByteArray> chunks;
    int chunkCount = 0;
    JpegSegmentReader segments(std::span(reinterpret_cast<const std::uint8_t*>(jpeg.constData()),
                                         std::size_t(jpeg.size())));
    while (const auto segment = segments.next()) {
        if (segment->marker == JPEG_MARKER_SOS)
            break;
        const QByteArray payload = payloadOf(segment->payload);
        if (segment->marker == JPEG_MARKER_APP1 && !metadata.m_exif &&
            payload.startsWith(QByteArrayView("Exif\0\0", 6))) {
            metadata.m_exif.reset(ExifDataIO::loadExifData(
                reinterpret_cast<const unsigned char*>(payload.constData()),
                std::size_t(payload.size())));
        } else if (segment->marker == kMarkerApp2 && payload.size() > kIccHeader &&
                   payload.startsWith(QByteArrayView(kIccSignature, sizeof kIccSignature))) {
            chunks.insert(std::uint8_t(payload.at(12)), payload.mid(kIccHeader));
            chunkCount = std::uint8_t(payload.at(13));
        }
    }
    // Numbered from 1 without a gap, or the profile is not whole.
    if (!chunks.isEmpty() && chunks.size() == chunkCount && chunks.firstKey() == 1 &&
        chunks.lastKey() == chunkCount) {
        for (const QByteArray& chunk : std::as_const(chunks))
            metadata.m_iccProfile += chunk;
    }
    return metadata;
}

BatchMetadata BatchMetadata::fromBlocks(const QByteArray& exif, const QByteArray& iccProfile) {
    BatchMetadata metadata;
    if (exif.startsWith(QByteArrayView("Exif\0\0", 6)))
        metadata.m_exif.reset(ExifDataIO::loadExifData(
            reinterpret_cast<const unsigned char*>(exif.constData()), std::size_t(exif.size())));
    metadata.m_iccProfile = iccProfile;
    return metadata;
}

BatchMetadata BatchMetadata::fromPictureMetadata(const PictureMetadata& picture) {
    BatchMetadata metadata;
    metadata.m_exif.reset(exif_data_new());
    ExifData* exif = metadata.m_exif.get();
    if (!exif)
        return metadata;
    exif_data_set_byte_order(exif, EXIF_BYTE_ORDER_INTEL);
    // The entries every EXIF block must have (versions, resolution, colour
    // space), at their defaults.
    exif_data_fix(exif);
    addText(exif, EXIF_IFD_0, EXIF_TAG_MAKE, picture.make);
    addText(exif, EXIF_IFD_0, EXIF_TAG_MODEL, picture.model);
    if (picture.taken.isValid()) {
        const QString date = picture.taken.toString(QStringLiteral("yyyy:MM:dd HH:mm:ss"));
        addText(exif, EXIF_IFD_0, EXIF_TAG_DATE_TIME, date);
        addText(exif, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, date);
        addText(exif, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_DIGITIZED, date);
    }
    addRational(exif, EXIF_IFD_EXIF, EXIF_TAG_EXPOSURE_TIME, picture.exposureSeconds, true);
    addRational(exif, EXIF_IFD_EXIF, EXIF_TAG_FNUMBER, picture.fNumber, false);
    addRational(exif, EXIF_IFD_EXIF, EXIF_TAG_FOCAL_LENGTH, picture.focalLength, false);
    if (picture.iso > 0 && picture.iso <= 0xFFFF)
        addShort(exif, EXIF_IFD_EXIF, EXIF_TAG_ISO_SPEED_RATINGS, picture.iso);
    // What the decoder hands over is sRGB.
    addShort(exif, EXIF_IFD_EXIF, EXIF_TAG_COLOR_SPACE, 1);
    return metadata;
}

int BatchMetadata::orientation() const {
    return Exif::orientationOf(m_exif.get());
}

std::optional<QByteArray> BatchMetadata::exifFor(const QImage& picture) {
    ExifData* exif = m_exif.get();
    if (!exif)
        return QByteArray();
    setOrientation(exif, EXIF_IFD_0);
    setOrientation(exif, EXIF_IFD_1);
    setDimension(exif, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION, picture.width(), true);
    setDimension(exif, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION, picture.height(), true);
    setDimension(exif, EXIF_IFD_0, EXIF_TAG_IMAGE_WIDTH, picture.width(), false);
    setDimension(exif, EXIF_IFD_0, EXIF_TAG_IMAGE_LENGTH, picture.height(), false);
    setThumbnail(exif, thumbnailOf(picture));

    QByteArray block = saved(exif);
    if (block.size() > qsizetype(kJpegMaxSegmentPayload) && exif->data) {
        // A picture without a thumbnail beats one without its EXIF data.
        setThumbnail(exif, QByteArray());
        block = saved(exif);
    }
    if (block.isEmpty() || block.size() > qsizetype(kJpegMaxSegmentPayload))
        return std::nullopt;
    return block;
}

QByteArray BatchMetadata::jpegWith(const QByteArray& encoded, const QByteArray& exif,
                                   const QByteArray& iccProfile) {
    if (!encoded.startsWith("\xFF\xD8"))
        return encoded;
    qsizetype at = 2;
    // The JFIF segment stays first, as its definition asks.
    if (encoded.size() >= 6 && std::uint8_t(encoded.at(2)) == 0xFF &&
        std::uint8_t(encoded.at(3)) == JPEG_MARKER_APP0)
        at += 2 + ((std::uint8_t(encoded.at(4)) << 8) | std::uint8_t(encoded.at(5)));
    at = std::min(at, encoded.size());

    QByteArray out;
    out.reserve(encoded.size() + exif.size() + iccProfile.size() + 64);
    out.append(encoded.constData(), at);
    if (!exif.isEmpty())
        appendSegment(out, JPEG_MARKER_APP1, exif);
    const qsizetype count = (iccProfile.size() + kIccChunk - 1) / kIccChunk;
    if (count > 0 && count <= 255) {
        for (qsizetype i = 0; i < count; ++i) {
            QByteArray chunk(kIccSignature, sizeof kIccSignature);
            chunk.append(char(i + 1)).append(char(count));
            chunk.append(iccProfile.mid(i * kIccChunk, kIccChunk));
            appendSegment(out, kMarkerApp2, chunk);
        }
    }
    out.append(encoded.constData() + at, encoded.size() - at);
    return out;
}

QByteArray BatchMetadata::pngWith(const QByteArray& encoded, const QByteArray& iccProfile) {
    // Signature (8 bytes), then IHDR: length, type, 13 bytes, CRC.
    constexpr qsizetype afterHeader = 8 + 4 + 4 + 13 + 4;
    if (iccProfile.isEmpty() || encoded.size() < afterHeader ||
        encoded.mid(12, 4) != QByteArrayView("IHDR"))
        return encoded;
    // qCompress puts the uncompressed length before the zlib stream.
    const QByteArray compressed = qCompress(iccProfile, 9).mid(4);
    QByteArray chunk("iCCP");
    chunk.append("ICC Profile", 11).append('\0').append('\0').append(compressed);
    QByteArray out;
    out.reserve(encoded.size() + chunk.size() + 8);
    out.append(encoded.constData(), afterHeader);
    appendBigEndian32(out, std::uint32_t(chunk.size() - 4));
    out.append(chunk);
    appendBigEndian32(out, crc32(chunk));
    out.append(encoded.constData() + afterHeader, encoded.size() - afterHeader);
    return out;
}
