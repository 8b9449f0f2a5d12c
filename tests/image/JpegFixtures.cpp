// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegFixtures.h"

#include "ExifBuilder.h"

#include <QPainter>

#include <turbojpeg.h>

#include <libexif/exif-utils.h>

#include <cstdlib>

namespace {

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
    ExifBuilder exif(options.littleEndian ? EXIF_BYTE_ORDER_INTEL : EXIF_BYTE_ORDER_MOTOROLA);
    exif_data_unset_option(exif.data(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    if (!options.make.isEmpty())
        exif.addText(EXIF_IFD_0, EXIF_TAG_MAKE, options.make.toStdString());
    if (!options.model.isEmpty())
        exif.addText(EXIF_IFD_0, EXIF_TAG_MODEL, options.model.toStdString());
    if (options.orientation)
        exif.addShort(EXIF_IFD_0, EXIF_TAG_ORIENTATION, options.orientation);
    if (!options.dateTimeDigitized.isEmpty())
        exif.addText(EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_DIGITIZED,
                     options.dateTimeDigitized.toStdString());
    if (options.exposureTime) {
        unsigned char rational[8];
        exif_set_rational(rational, exif_data_get_byte_order(exif.data()), ExifRational{1, 125});
        exif.addEntry(EXIF_IFD_EXIF, EXIF_TAG_EXPOSURE_TIME, EXIF_FORMAT_RATIONAL, rational, 1, 8);
    }
    if (!options.userComment.isEmpty()) {
        const auto size = static_cast<unsigned int>(options.userComment.size());
        exif.addEntry(EXIF_IFD_EXIF, EXIF_TAG_USER_COMMENT, EXIF_FORMAT_UNDEFINED,
                      options.userComment.constData(), size, size);
    }
    if (options.thumbnailOrientation && options.orientation)
        exif.addShort(EXIF_IFD_1, EXIF_TAG_ORIENTATION, options.orientation);
    if (!options.thumbnail.isEmpty())
        exif.setThumbnail({options.thumbnail.begin(), options.thumbnail.end()});
    return exif.release();
}

QByteArray JpegFixtures::exifPayload(const ExifOptions& options) {
    ExifBuilder exif(makeExif(options));
    const std::vector<unsigned char> payload = exif.payload();
    return QByteArray(reinterpret_cast<const char*>(payload.data()), qsizetype(payload.size()));
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
