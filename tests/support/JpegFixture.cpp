// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegFixture.h"

#include "TestFiles.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <libexif/exif-data.h>
#include <libexif/exif-utils.h>

#include <cstdlib>
#include <cstring>

namespace {

void addEntry(ExifData* data, ExifIfd ifd, ExifTag tag, ExifFormat format, const void* bytes,
              unsigned int components, unsigned int size) {
    ExifMem* mem = exif_mem_new_default();
    ExifEntry* entry = exif_entry_new_mem(mem);
    entry->data = static_cast<unsigned char*>(exif_mem_alloc(mem, size));
    std::memcpy(entry->data, bytes, size);
    entry->size = size;
    entry->tag = tag;
    entry->format = format;
    entry->components = components;
    exif_content_add_entry(data->ifd[ifd], entry);
    exif_entry_unref(entry);
    exif_mem_unref(mem);
}

void addText(ExifData* data, ExifIfd ifd, ExifTag tag, const QString& text) {
    const QByteArray bytes = text.toUtf8() + '\0';
    addEntry(data, ifd, tag, EXIF_FORMAT_ASCII, bytes.constData(),
             static_cast<unsigned int>(bytes.size()), static_cast<unsigned int>(bytes.size()));
}

QByteArray app1Block(const JpegFixture::Options& options) {
    ExifData* data = exif_data_new();
    exif_data_set_byte_order(data, EXIF_BYTE_ORDER_INTEL);
    if (!options.make.isEmpty())
        addText(data, EXIF_IFD_0, EXIF_TAG_MAKE, options.make);
    if (!options.model.isEmpty())
        addText(data, EXIF_IFD_0, EXIF_TAG_MODEL, options.model);
    if (options.orientation > 0) {
        unsigned char value[2];
        exif_set_short(value, EXIF_BYTE_ORDER_INTEL, static_cast<ExifShort>(options.orientation));
        addEntry(data, EXIF_IFD_0, EXIF_TAG_ORIENTATION, EXIF_FORMAT_SHORT, value, 1, 2);
    }
    if (options.digitized.isValid())
        addText(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_DIGITIZED,
                options.digitized.toLocalTime().toString(QStringLiteral("yyyy:MM:dd HH:mm:ss")));
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &bytes, &size);
    QByteArray block(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    std::free(bytes);
    exif_data_unref(data);
    return block;
}

} // namespace

QByteArray JpegFixture::jpeg(const Options& options) {
    QImage image(options.size, QImage::Format_RGB32);
    QPainter painter(&image);
    const int half = options.size.width() / 2;
    painter.fillRect(0, 0, half, options.size.height(), options.left);
    painter.fillRect(half, 0, options.size.width() - half, options.size.height(), options.right);
    painter.end();

    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 95);

    const bool hasExif = options.digitized.isValid() || !options.make.isEmpty() ||
                         !options.model.isEmpty() || options.orientation > 0;
    if (!hasExif || encoded.size() < 4)
        return encoded;
    QByteArray rest = encoded.mid(2);
    // Drop the JFIF APP0 segment, so APP1 is the first one, as cameras write.
    if (static_cast<unsigned char>(rest[0]) == 0xFF &&
        static_cast<unsigned char>(rest[1]) == 0xE0) {
        const int length =
            (static_cast<unsigned char>(rest[2]) << 8) | static_cast<unsigned char>(rest[3]);
        rest = rest.mid(2 + length);
    }
    const QByteArray exif = app1Block(options);
    const int segmentLength = static_cast<int>(exif.size()) + 2;
    QByteArray result("\xFF\xD8\xFF\xE1", 4);
    result.append(static_cast<char>((segmentLength >> 8) & 0xFF));
    result.append(static_cast<char>(segmentLength & 0xFF));
    result.append(exif);
    result.append(rest);
    return result;
}

bool JpegFixture::write(const QString& path, const Options& options) {
    return TestFiles::write(path, jpeg(options));
}
