// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExifDateReader.h"

#include "ByteReader.h"
#include "Exif.h"
#include "TiffReader.h"

#include <QString>

#include <algorithm>
#include <optional>

namespace {

constexpr std::uint16_t kExifPointerTag = 0x8769;
constexpr std::uint16_t kDigitizedTag = 0x9004;
constexpr std::uint16_t kAsciiType = 2;

// The TIFF structure of the first EXIF segment (APP1, "Exif\0\0") among the
// markers before the image data, cut where `head` ends.
std::optional<std::span<const std::uint8_t>> exifBlockIn(std::span<const std::uint8_t> head) {
    ByteReader reader(head);
    if (reader.readU16(ByteOrder::Big) != 0xFFD8)
        return std::nullopt;
    while (true) {
        if (reader.readByte() != 0xFF)
            return std::nullopt;
        std::optional<std::uint8_t> marker = reader.readByte();
        while (marker == 0xFF) // fill bytes
            marker = reader.readByte();
        if (!marker || *marker == 0xD9 || *marker == 0xDA) // none, EOI, start of scan
            return std::nullopt;
        if (*marker == 0x01 || (*marker >= 0xD0 && *marker <= 0xD7)) // no length
            continue;
        const std::size_t start = reader.position();
        const std::optional<std::uint16_t> length = reader.readU16(ByteOrder::Big);
        if (!length || *length < 2)
            return std::nullopt;
        const std::size_t end = start + *length;
        static constexpr std::uint8_t exifHeader[] = {'E', 'x', 'i', 'f', 0, 0};
        const auto header = reader.spanAt(reader.position(), sizeof exifHeader);
        if (*marker == 0xE1 && *length >= 2 + sizeof exifHeader && header &&
            std::equal(header->begin(), header->end(), std::begin(exifHeader))) {
            const std::size_t block = reader.position() + sizeof exifHeader;
            return head.subspan(block, std::min(end, head.size()) - block);
        }
        if (!reader.seek(end))
            return std::nullopt;
    }
}

} // namespace

QDateTime ExifDateReader::digitizedIn(std::span<const std::uint8_t> head) {
    const std::optional<std::span<const std::uint8_t>> block = exifBlockIn(head);
    if (!block)
        return QDateTime();
    TiffReader tiff(*block);
    const std::optional<TiffReader::Ifd> first = tiff.isValid() ? tiff.firstIfd() : std::nullopt;
    if (!first)
        return QDateTime();
    std::optional<TiffReader::Entry> date = tiff.findEntry(*first, kDigitizedTag);
    if (!date) {
        const std::optional<TiffReader::Entry> pointer = tiff.findEntry(*first, kExifPointerTag);
        const std::optional<TiffReader::Ifd> exif = pointer ? tiff.subIfd(*pointer) : std::nullopt;
        if (exif)
            date = tiff.findEntry(*exif, kDigitizedTag);
    }
    if (!date || date->type != kAsciiType)
        return QDateTime();
    const std::optional<std::size_t> offset = tiff.valueOffset(*date);
    const auto text = offset ? tiff.bytes().spanAt(*offset, date->count) : std::nullopt;
    if (!text)
        return QDateTime();
    // The text ends at its first NUL, as libexif renders it.
    const auto end = std::find(text->begin(), text->end(), std::uint8_t(0));
    return Exif::parseExifDate(QString::fromLatin1(reinterpret_cast<const char*>(text->data()),
                                                   qsizetype(end - text->begin())));
}
