// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExifOrient.h"

#include "JpegSegmentReader.h"
#include "TiffReader.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace {

// TIFF-structured files: the orientation lives in IFD 0, near the start.
constexpr std::size_t kMaxTiffBytes = 65536;
// Enough for SOI, a JFIF segment and the largest EXIF segment in one read.
constexpr std::size_t kFirstJpegRead = 68 * 1024;
// Segments before the EXIF block are read, not sought over; this bounds how
// far into the file the search goes.
constexpr std::size_t kMaxJpegHead = 4 * 1024 * 1024;
constexpr std::uint16_t kOrientationTag = 0x0112;

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

// Reads on from the file's position until `head` holds `size` bytes or the
// file ends. False on a read error or when memory runs out.
bool readHeadTo(FILE* file, std::vector<std::uint8_t>& head, std::size_t size) {
    const std::size_t had = head.size();
    try {
        head.resize(size);
    } catch (...) {
        return false;
    }
    const std::size_t got = std::fread(head.data() + had, 1, size - had, file);
    head.resize(had + got);
    return !std::ferror(file);
}

// The TIFF data of the EXIF segment of a JPEG whose head is read into
// `head`, from the file's start; empty when no EXIF segment comes before
// the image data.
std::optional<std::span<const std::uint8_t>> exifTiffInJpeg(FILE* file,
                                                            std::vector<std::uint8_t>& head) {
    for (std::size_t window = kFirstJpegRead;; window = std::min(window * 2, kMaxJpegHead)) {
        if (!readHeadTo(file, head, window))
            return std::nullopt;
        JpegSegmentReader segments(head);
        const auto soi = segments.next();
        if (!soi || soi->marker != 0xD8 || soi->offset != 0)
            return std::nullopt;
        while (const auto segment = segments.next()) {
            // Only segments with a length come before the EXIF block; the
            // start of scan (or anything odd) ends the search.
            if (segment->marker == 0xDA || JpegSegmentReader::isStandalone(segment->marker))
                return std::nullopt;
            const auto payload = segment->payload;
            if (segment->marker == 0xE1 && payload.size() >= 6 &&
                std::memcmp(payload.data(), "Exif\0\0", 6) == 0)
                return payload.subspan(6);
        }
        // A segment reaching past what was read: read further, up to the limit.
        if (segments.status() != JpegSegmentReader::Status::Truncated || head.size() < window ||
            window == kMaxJpegHead)
            return std::nullopt;
    }
}

bool writeEntry(FILE* file, long tiffStart, const TiffReader& tiff, const TiffReader::Entry& entry,
                unsigned char value) {
    const auto bytes = tiff.singleValueEntry(kOrientationTag, TiffReader::Short, value);
    return std::fseek(file, tiffStart + static_cast<long>(entry.offset), SEEK_SET) == 0 &&
           std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
}

} // namespace

bool exif_orient(const char* path, unsigned char* orientation) {
    if (!path || !orientation)
        return false;
    const bool writing = *orientation != 0;
    File file(std::fopen(path, writing ? "rb+" : "rb"));
    if (!file)
        return false;

    // The TIFF data and where it starts in the file; only the entries are
    // written back, so the file keeps its size.
    std::vector<std::uint8_t> head;
    if (!readHeadTo(file.get(), head, 2))
        return false;
    std::span<const std::uint8_t> tiffBytes;
    if (head.size() == 2 && head[0] == head[1] && (head[0] == 'M' || head[0] == 'I')) {
        if (!readHeadTo(file.get(), head, kMaxTiffBytes))
            return false;
        tiffBytes = head;
    } else if (head.size() == 2 && head[0] == 0xFF && head[1] == 0xD8) {
        const auto exif = exifTiffInJpeg(file.get(), head);
        if (!exif)
            return false;
        tiffBytes = *exif;
    } else {
        return false;
    }
    const long tiffStart = static_cast<long>(tiffBytes.data() - head.data());

    TiffReader tiff(tiffBytes);
    const auto ifd0 = tiff.firstIfd();
    const auto entry = ifd0 ? tiff.findEntry(*ifd0, kOrientationTag) : std::nullopt;
    if (!entry)
        return false;

    if (!writing) {
        const auto value = tiff.bytes().u16At(entry->offset + 8, tiff.byteOrder());
        if (!value || *value > 8)
            return false;
        *orientation = static_cast<unsigned char>(*value);
        return true;
    }

    if (!writeEntry(file.get(), tiffStart, tiff, *entry, *orientation))
        return false;
    // IFD 1, the thumbnail's, when the chain has one. An IFD 0 running to
    // the end of the data, with no room for its link, counts as damaged.
    bool written = false;
    if (const auto link = tiff.nextIfdOffset(*ifd0)) {
        written = *link == 0;
        if (!written) {
            const auto ifd1 = tiff.nextIfd(*ifd0);
            const auto thumbnailEntry =
                ifd1 ? tiff.findEntry(*ifd1, kOrientationTag) : std::nullopt;
            written = thumbnailEntry &&
                      writeEntry(file.get(), tiffStart, tiff, *thumbnailEntry, *orientation);
        }
    }
    return std::fflush(file.get()) == 0 && written;
}
