// SPDX-License-Identifier: GPL-3.0-or-later
#include "DngFixture.h"

#include "TestFiles.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>
#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

enum Type : std::uint16_t { Byte = 1, Ascii = 2, Short = 3, Long = 4, Rational = 5 };

struct Entry {
    std::uint16_t tag;
    std::uint16_t type;
    std::uint32_t count;
    QByteArray value; // little-endian, the whole value
};

QByteArray le16(std::uint16_t value) {
    QByteArray bytes(2, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

QByteArray le32(std::uint32_t value) {
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

Entry shorts(std::uint16_t tag, std::initializer_list<std::uint16_t> values) {
    QByteArray bytes;
    for (const std::uint16_t value : values)
        bytes += le16(value);
    return {tag, Short, std::uint32_t(values.size()), bytes};
}

Entry longValue(std::uint16_t tag, std::uint32_t value) {
    return {tag, Long, 1, le32(value)};
}

Entry text(std::uint16_t tag, const QString& value) {
    const QByteArray bytes = value.toLatin1() + '\0';
    return {tag, Ascii, std::uint32_t(bytes.size()), bytes};
}

Entry rational(std::uint16_t tag, std::uint32_t numerator, std::uint32_t denominator) {
    return {tag, Rational, 1, le32(numerator) + le32(denominator)};
}

// Lays out IFDs first, values that do not fit an entry after them.
class TiffWriter {
public:
    TiffWriter() { m_data = QByteArrayLiteral("II*\0") + le32(8); }

    std::uint32_t reserveIfd(int entries) {
        const auto offset = std::uint32_t(m_data.size());
        m_data.append(2 + 12 * entries + 4, '\0');
        return offset;
    }

    std::uint32_t append(const QByteArray& blob) {
        if (m_data.size() % 2)
            m_data.append('\0');
        const auto offset = std::uint32_t(m_data.size());
        m_data += blob;
        return offset;
    }

    void writeIfd(std::uint32_t offset, std::vector<Entry> entries) {
        std::sort(entries.begin(), entries.end(),
                  [](const Entry& a, const Entry& b) { return a.tag < b.tag; });
        QByteArray ifd = le16(std::uint16_t(entries.size()));
        for (const Entry& entry : entries) {
            ifd += le16(entry.tag) + le16(entry.type) + le32(entry.count);
            if (entry.value.size() <= 4)
                ifd += entry.value + QByteArray(4 - entry.value.size(), '\0');
            else
                ifd += le32(append(entry.value));
        }
        ifd += le32(0);
        m_data.replace(offset, ifd.size(), ifd);
    }

    QByteArray& data() { return m_data; }

private:
    QByteArray m_data;
};

QByteArray previewJpeg(const DngFixture::Options& options) {
    QImage image = options.preview;
    if (image.isNull()) {
        image = QImage(options.previewSize, QImage::Format_RGB32);
        QPainter painter(&image);
        const int half = options.previewSize.width() / 2;
        painter.fillRect(0, 0, half, image.height(), options.left);
        painter.fillRect(half, 0, image.width() - half, image.height(), options.right);
    }
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", options.previewQuality);
    return jpeg;
}

// A gentle gradient in the 12-bit range, so demosaicing has something to do.
QByteArray rawPixels(const QSize& size) {
    QByteArray pixels;
    pixels.reserve(qsizetype(size.width()) * size.height() * 2);
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x)
            pixels += le16(std::uint16_t(256 + (x * 3000) / size.width() + (y % 2) * 200));
    return pixels;
}

} // namespace

QByteArray DngFixture::dng(const Options& options) {
    TiffWriter tiff;
    const bool dated = options.taken.isValid();
    const std::uint32_t ifd0 = tiff.reserveIfd(dated ? 18 : 17);
    const std::uint32_t rawIfd = tiff.reserveIfd(13);
    const std::uint32_t exifIfd = tiff.reserveIfd(dated ? 5 : 4);
    const QString date = options.taken.toString(QStringLiteral("yyyy:MM:dd HH:mm:ss"));

    std::vector<Entry> exif{rational(33434, 1, 125), rational(33437, 28, 10), shorts(34855, {200}),
                            rational(37386, 50, 1)};
    if (dated)
        exif.push_back(text(36867, date));
    tiff.writeIfd(exifIfd, exif);

    const QByteArray jpeg = previewJpeg(options);
    const QSize preview = options.preview.isNull() ? options.previewSize : options.preview.size();
    std::vector<Entry> entries{longValue(254, 1),
                               longValue(256, std::uint32_t(preview.width())),
                               longValue(257, std::uint32_t(preview.height())),
                               shorts(258, {8, 8, 8}),
                               shorts(259, {7}),
                               shorts(262, {6}),
                               text(271, options.make),
                               text(272, options.model),
                               shorts(274, {std::uint16_t(options.orientation)}),
                               shorts(277, {3}),
                               longValue(278, std::uint32_t(preview.height())),
                               longValue(279, std::uint32_t(jpeg.size())),
                               longValue(330, rawIfd),
                               longValue(34665, exifIfd),
                               {50706, Byte, 4, QByteArray("\1\4\0\0", 4)},
                               text(50708, options.make + QLatin1Char(' ') + options.model)};
    if (dated)
        entries.push_back(text(306, date));
    // Values first, the strips last, so a missing raw strip is the end of
    // the file.
    entries.push_back(longValue(273, tiff.append(jpeg)));
    tiff.writeIfd(ifd0, entries);

    const QSize raw = options.rawSize;
    const std::uint32_t rawAt =
        options.rawData ? tiff.append(rawPixels(raw)) : std::uint32_t(tiff.data().size());
    tiff.writeIfd(rawIfd, {longValue(254, 0),
                           longValue(256, std::uint32_t(raw.width())),
                           longValue(257, std::uint32_t(raw.height())),
                           shorts(258, {16}),
                           shorts(259, {1}),
                           shorts(262, {32803}),
                           longValue(273, rawAt),
                           shorts(277, {1}),
                           longValue(278, std::uint32_t(raw.height())),
                           longValue(279, std::uint32_t(raw.width() * raw.height() * 2)),
                           shorts(33421, {2, 2}),
                           {33422, Byte, 4, QByteArray("\0\1\1\2", 4)},
                           longValue(50717, 4095)});
    return tiff.data();
}

bool DngFixture::write(const QString& path, const Options& options) {
    return TestFiles::write(path, dng(options));
}
