// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegFixtures.h"

#include <QPainter>

#include <turbojpeg.h>

#include <libexif/exif-utils.h>

#include <cstdlib>
#include <cstring>

namespace {

void addEntry(ExifData* exif, ExifIfd ifd, ExifTag tag, ExifFormat format, unsigned long components,
              const QByteArray& bytes) {
    ExifEntry* entry = exif_entry_new();
    entry->tag = tag;
    entry->format = format;
    entry->components = components;
    entry->size = static_cast<unsigned int>(bytes.size());
    entry->data = static_cast<unsigned char*>(std::malloc(std::size_t(bytes.size())));
    std::memcpy(entry->data, bytes.constData(), std::size_t(bytes.size()));
    exif_content_add_entry(exif->ifd[ifd], entry);
    exif_entry_unref(entry);
}

void addAscii(ExifData* exif, ExifIfd ifd, ExifTag tag, const QByteArray& text) {
    QByteArray bytes = text;
    bytes.append('\0');
    addEntry(exif, ifd, tag, EXIF_FORMAT_ASCII, static_cast<unsigned long>(bytes.size()), bytes);
}

void addShort(ExifData* exif, ExifIfd ifd, ExifTag tag, int value) {
    QByteArray bytes(2, '\0');
    exif_set_short(reinterpret_cast<unsigned char*>(bytes.data()), exif_data_get_byte_order(exif),
                   static_cast<ExifShort>(value));
    addEntry(exif, ifd, tag, EXIF_FORMAT_SHORT, 1, bytes);
}

int inverseOrientation(int orientation) {
    return orientation == 6 ? 8 : orientation == 8 ? 6 : orientation;
}

QImage orientedUpright(const QImage& image, int orientation) {
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.mirrored(true, true);
    case 4:
        return image.mirrored(false, true);
    case 5:
        return image.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6:
        return image.transformed(QTransform().rotate(90));
    case 7:
        return image.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8:
        return image.transformed(QTransform().rotate(270));
    default:
        return image;
    }
}

} // namespace

QColor JpegFixtures::quadrantColor(int index) {
    static const QColor colors[] = {Qt::red, Qt::green, Qt::blue, Qt::white};
    return colors[index & 3];
}

QImage JpegFixtures::quadrants(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    const int hw = width / 2, hh = height / 2;
    painter.fillRect(0, 0, hw, hh, quadrantColor(0));
    painter.fillRect(hw, 0, width - hw, hh, quadrantColor(1));
    painter.fillRect(0, hh, hw, height - hh, quadrantColor(2));
    painter.fillRect(hw, hh, width - hw, height - hh, quadrantColor(3));
    return image;
}

QByteArray JpegFixtures::encodeJpeg(const QImage& image, int subsampling, int quality) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    tjhandle handle = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const int pixelFormat = TJPF_RGB;
    QByteArray result;
    if (tjCompress2(handle, rgb.constBits(), rgb.width(), int(rgb.bytesPerLine()), rgb.height(),
                    pixelFormat, &out, &size, subsampling, quality, 0) == 0)
        result = QByteArray(reinterpret_cast<const char*>(out), qsizetype(size));
    tjFree(out);
    tjDestroy(handle);
    return result;
}

ExifData* JpegFixtures::makeExif(const ExifOptions& options) {
    ExifData* exif = exif_data_new();
    exif_data_unset_option(exif, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_byte_order(exif, options.littleEndian ? EXIF_BYTE_ORDER_INTEL
                                                        : EXIF_BYTE_ORDER_MOTOROLA);
    if (!options.make.isEmpty())
        addAscii(exif, EXIF_IFD_0, EXIF_TAG_MAKE, options.make);
    if (!options.model.isEmpty())
        addAscii(exif, EXIF_IFD_0, EXIF_TAG_MODEL, options.model);
    if (options.orientation)
        addShort(exif, EXIF_IFD_0, EXIF_TAG_ORIENTATION, options.orientation);
    if (!options.dateTimeDigitized.isEmpty())
        addAscii(exif, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_DIGITIZED, options.dateTimeDigitized);
    if (options.exposureTime) {
        QByteArray rational(8, '\0');
        auto* p = reinterpret_cast<unsigned char*>(rational.data());
        exif_set_rational(p, exif_data_get_byte_order(exif), ExifRational{1, 125});
        addEntry(exif, EXIF_IFD_EXIF, EXIF_TAG_EXPOSURE_TIME, EXIF_FORMAT_RATIONAL, 1, rational);
    }
    if (!options.userComment.isEmpty())
        addEntry(exif, EXIF_IFD_EXIF, EXIF_TAG_USER_COMMENT, EXIF_FORMAT_UNDEFINED,
                 static_cast<unsigned long>(options.userComment.size()), options.userComment);
    if (options.thumbnailOrientation && options.orientation)
        addShort(exif, EXIF_IFD_1, EXIF_TAG_ORIENTATION, options.orientation);
    if (!options.thumbnail.isEmpty()) {
        exif->size = static_cast<unsigned int>(options.thumbnail.size());
        exif->data = static_cast<unsigned char*>(std::malloc(exif->size));
        std::memcpy(exif->data, options.thumbnail.constData(), exif->size);
    }
    return exif;
}

QByteArray JpegFixtures::exifPayload(const ExifOptions& options) {
    ExifData* exif = makeExif(options);
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(exif, &bytes, &size);
    QByteArray payload(reinterpret_cast<const char*>(bytes), qsizetype(size));
    std::free(bytes);
    exif_data_unref(exif);
    return payload;
}

QByteArray JpegFixtures::segment(int marker, const QByteArray& payload) {
    QByteArray bytes;
    const int length = int(payload.size()) + 2;
    bytes.append(char(0xFF)).append(char(marker));
    bytes.append(char(length >> 8)).append(char(length & 0xFF));
    return bytes + payload;
}

QByteArray JpegFixtures::withExif(const QByteArray& jpeg, const QByteArray& payload,
                                  bool keepJfif) {
    QByteArray rest = jpeg.mid(2);
    QByteArray jfif;
    if (rest.size() > 4 && uchar(rest[0]) == 0xFF && uchar(rest[1]) == 0xE0) {
        const int length = (uchar(rest[2]) << 8) | uchar(rest[3]);
        jfif = rest.left(length + 2);
        rest = rest.mid(length + 2);
    }
    QByteArray out = QByteArray::fromHex("FFD8");
    if (keepJfif)
        out += jfif;
    if (!payload.isEmpty())
        out += segment(0xE1, payload);
    return out + rest;
}

QByteArray JpegFixtures::orientedJpeg(const QImage& upright, int orientation, int subsampling) {
    const QImage stored = orientedUpright(upright, inverseOrientation(orientation));
    ExifOptions options;
    options.orientation = orientation;
    options.thumbnail = encodeJpeg(stored.scaled(stored.width() / 4, stored.height() / 4), 2, 80);
    options.thumbnailOrientation = true;
    return withExif(encodeJpeg(stored, subsampling), exifPayload(options));
}

bool JpegFixtures::showsUprightQuadrants(const QImage& image) {
    const int w = image.width(), h = image.height();
    const QPoint centres[] = {
        {w / 4, h / 4}, {3 * w / 4, h / 4}, {w / 4, 3 * h / 4}, {3 * w / 4, 3 * h / 4}};
    for (int i = 0; i < 4; ++i) {
        const QColor got = image.pixelColor(centres[i]);
        const QColor want = quadrantColor(i);
        if (std::abs(got.red() - want.red()) > 24 || std::abs(got.green() - want.green()) > 24 ||
            std::abs(got.blue() - want.blue()) > 24)
            return false;
    }
    return true;
}
