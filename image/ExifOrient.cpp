// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExifOrient.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr std::size_t kMaxTiffBytes = 65536;
constexpr unsigned kOrientationTag = 0x0112;

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

bool readExactly(FILE* file, unsigned char* into, std::size_t count) {
    return std::fread(into, 1, count, file) == count;
}

unsigned be16(const unsigned char* p) {
    return (p[0] << 8) | p[1];
}

// Walks the JPEG's marker segments up to the EXIF APP1 segment and leaves the
// file positioned at its TIFF header. Returns the TIFF data's length, 0 when
// there is no EXIF segment before the image data.
std::size_t seekToExifTiff(FILE* file) {
    if (std::fseek(file, 2, SEEK_SET) != 0)
        return 0;
    for (;;) {
        int byte = std::fgetc(file);
        if (byte != 0xFF)
            return 0;
        int marker;
        do
            marker = std::fgetc(file);
        while (marker == 0xFF);
        // Only segments with a length may come before the EXIF block; the
        // start of scan (or anything odd) ends the search.
        if (marker == EOF || marker < 0xC0 || marker == 0xD8 || marker == 0xD9 || marker == 0xDA ||
            (marker >= 0xD0 && marker <= 0xD7))
            return 0;
        unsigned char head[8];
        if (!readExactly(file, head, 2))
            return 0;
        const unsigned length = be16(head);
        if (length < 2)
            return 0;
        if (marker == 0xE1 && length >= 20) {
            if (!readExactly(file, head + 2, 6))
                return 0;
            if (std::memcmp(head + 2, "Exif\0\0", 6) == 0)
                return length - 8;
            if (std::fseek(file, static_cast<long>(length) - 8, SEEK_CUR) != 0)
                return 0;
            continue;
        }
        if (std::fseek(file, static_cast<long>(length) - 2, SEEK_CUR) != 0)
            return 0;
    }
}

struct Tiff {
    std::vector<unsigned char> bytes;
    bool bigEndian = false;

    bool has(std::size_t offset, std::size_t count) const {
        return offset <= bytes.size() && count <= bytes.size() - offset;
    }
    unsigned u16(std::size_t at) const {
        const unsigned char* p = bytes.data() + at;
        return bigEndian ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0];
    }
    std::uint32_t u32(std::size_t at) const {
        const unsigned char* p = bytes.data() + at;
        return bigEndian ? (std::uint32_t(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3]
                         : (std::uint32_t(p[3]) << 24) | (p[2] << 16) | (p[1] << 8) | p[0];
    }
    void put16(unsigned char* p, unsigned value) const {
        p[bigEndian ? 0 : 1] = static_cast<unsigned char>(value >> 8);
        p[bigEndian ? 1 : 0] = static_cast<unsigned char>(value & 0xFF);
    }

    // Offset of the IFD's orientation entry, 0 when the IFD holds none or
    // lies outside the data. Sets `next` to the offset of the next-IFD link.
    std::size_t findOrientation(std::size_t ifd, std::size_t* next) const {
        *next = 0;
        if (ifd < 8 || !has(ifd, 2))
            return 0;
        const unsigned count = u16(ifd);
        if (count == 0)
            return 0;
        std::size_t found = 0;
        for (unsigned i = 0; i < count; ++i) {
            const std::size_t entry = ifd + 2 + 12 * std::size_t(i);
            if (!has(entry, 12))
                return 0;
            if (!found && u16(entry) == kOrientationTag)
                found = entry;
        }
        *next = ifd + 2 + 12 * std::size_t(count);
        return found;
    }
};

bool writeEntry(FILE* file, long tiffStart, const Tiff& tiff, std::size_t entry, unsigned value) {
    unsigned char bytes[12] = {};
    tiff.put16(bytes, kOrientationTag);
    tiff.put16(bytes + 2, 3); // SHORT
    if (tiff.bigEndian)
        bytes[7] = 1;
    else
        bytes[4] = 1;
    tiff.put16(bytes + 8, value);
    return std::fseek(file, tiffStart + static_cast<long>(entry), SEEK_SET) == 0 &&
           std::fwrite(bytes, 1, sizeof bytes, file) == sizeof bytes;
}

} // namespace

bool exif_orient(const char* path, unsigned char* orientation) {
    if (!path || !orientation)
        return false;
    const bool writing = *orientation != 0;
    File file(std::fopen(path, writing ? "rb+" : "rb"));
    if (!file)
        return false;

    unsigned char head[4];
    if (!readExactly(file.get(), head, 4))
        return false;
    std::size_t tiffLength = 0;
    long tiffStart = 0;
    if ((head[0] == 'M' && head[1] == 'M') || (head[0] == 'I' && head[1] == 'I')) {
        if (std::fseek(file.get(), 0, SEEK_END) != 0)
            return false;
        const long size = std::ftell(file.get());
        if (size < 8 || std::fseek(file.get(), 0, SEEK_SET) != 0)
            return false;
        tiffLength = std::min<std::size_t>(static_cast<std::size_t>(size), kMaxTiffBytes);
    } else if (head[0] == 0xFF && head[1] == 0xD8) {
        tiffLength = seekToExifTiff(file.get());
        if (tiffLength == 0)
            return false;
        tiffStart = std::ftell(file.get());
        if (tiffStart < 0)
            return false;
    } else {
        return false;
    }

    Tiff tiff;
    tiff.bytes.resize(tiffLength);
    if (!readExactly(file.get(), tiff.bytes.data(), tiffLength) || tiffLength < 8)
        return false;
    if (tiff.bytes[0] == 'M' && tiff.bytes[1] == 'M')
        tiff.bigEndian = true;
    else if (!(tiff.bytes[0] == 'I' && tiff.bytes[1] == 'I'))
        return false;
    if (tiff.u16(2) != 42)
        return false;
    const std::uint32_t ifd0 = tiff.u32(4);
    if (ifd0 > 0xFFFF)
        return false;

    std::size_t next = 0;
    const std::size_t entry = tiff.findOrientation(ifd0, &next);
    if (!entry)
        return false;

    if (!writing) {
        const unsigned char* value = tiff.bytes.data() + entry + 8;
        const unsigned char high = tiff.bigEndian ? value[0] : value[1];
        const unsigned char low = tiff.bigEndian ? value[1] : value[0];
        if (high != 0 || low > 8)
            return false;
        *orientation = low;
        return true;
    }

    if (!writeEntry(file.get(), tiffStart, tiff, entry, *orientation))
        return false;
    bool written = true;
    if (tiff.has(next, 4)) {
        const std::uint32_t ifd1 = tiff.u32(next);
        if (ifd1 != 0) {
            std::size_t unused = 0;
            const std::size_t thumbnailEntry = tiff.findOrientation(ifd1, &unused);
            written = thumbnailEntry &&
                      writeEntry(file.get(), tiffStart, tiff, thumbnailEntry, *orientation);
        }
    } else {
        written = false; // IFD 0 runs to the end of the data: no link to follow
    }
    return std::fflush(file.get()) == 0 && written;
}
