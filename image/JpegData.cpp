// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegData.h"

#include "ExifDataIO.h"
#include "JpegSegmentReader.h"
#include "LibexifHandles.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <span>
#include <unistd.h>

struct JPEGDataPrivate {
    unsigned int refCount = 1;
    ExifLogPtr log;
    bool complete = false;
};

namespace {

constexpr const char* kDomain = "jpeg-data";

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<FILE, FileCloser>;

struct MallocFree {
    void operator()(unsigned char* bytes) const { std::free(bytes); }
};
using MallocBytes = std::unique_ptr<unsigned char, MallocFree>;

struct MarkerRow {
    int marker;
    const char* name;
    const char* description;
};

// clang-format off
constexpr MarkerRow JPEGMarkerTable[] = {
    {0xC0, "SOF0", "Encoding (baseline)"},
    {0xC1, "SOF1", "Encoding (extended sequential)"},
    {0xC2, "SOF2", "Encoding (progressive)"},
    {0xC3, "SOF3", "Encoding (lossless)"},
    {0xC5, "SOF5", "Encoding (differential sequential)"},
    {0xC6, "SOF6", "Encoding (differential progressive)"},
    {0xC7, "SOF7", "Encoding (differential lossless)"},
    {0xC9, "SOF9", "Encoding (extended sequential, arithmetic)"},
    {0xCA, "SOF10", "Encoding (progressive, arithmetic)"},
    {0xCB, "SOF11", "Encoding (lossless, arithmetic)"},
    {0xCD, "SOF13", "Encoding (differential sequential, arithmetic)"},
    {0xCE, "SOF14", "Encoding (differential progressive, arithmetic)"},
    {0xCF, "SOF15", "Encoding (differential lossless, arithmetic)"},
    {0xD8, "SOI", "Start of image"},
    {0xD9, "EOI", "End of image"},
    {0xDA, "SOS", "Start of scan"},
    {0xFE, "COM", "Comment"},
    {0xC4, "DHT", "Define Huffman table"},
    {0xC8, "JPG", "Extension"},
    {0xCC, "DAC", "Define arithmetic coding conditioning"},
    {0xD1, "RST1", "Restart 1"},
    {0xD2, "RST2", "Restart 2"},
    {0xD3, "RST3", "Restart 3"},
    {0xD4, "RST4", "Restart 4"},
    {0xD5, "RST5", "Restart 5"},
    {0xD6, "RST6", "Restart 6"},
    {0xD7, "RST7", "Restart 7"},
    {0xDB, "DQT", "Define quantization table"},
    {0xDC, "DNL", "Define number of lines"},
    {0xDD, "DRI", "Define restart interval"},
    {0xDE, "DHP", "Define hierarchical progression"},
    {0xDF, "EXP", "Expand reference component"},
    {0xE0, "APP0", "Application segment 0"},
    {0xE1, "APP1", "Application segment 1"},
    {0xE2, "APP2", "Application segment 2"},
    {0xE3, "APP3", "Application segment 3"},
    {0xE4, "APP4", "Application segment 4"},
    {0xE5, "APP5", "Application segment 5"},
    {0xE6, "APP6", "Application segment 6"},
    {0xE7, "APP7", "Application segment 7"},
    {0xE8, "APP8", "Application segment 8"},
    {0xE9, "APP9", "Application segment 9"},
    {0xEA, "APP10", "Application segment 10"},
    {0xEB, "APP11", "Application segment 11"},
    {0xEC, "APP12", "Application segment 12"},
    {0xED, "APP13", "Application segment 13"},
    {0xEE, "APP14", "Application segment 14"},
    {0xEF, "APP15", "Application segment 15"},
    {0xF0, "JPG0", "Extension 0"},
    {0xF1, "JPG1", "Extension 1"},
    {0xF2, "JPG2", "Extension 2"},
    {0xF3, "JPG3", "Extension 3"},
    {0xF4, "JPG4", "Extension 4"},
    {0xF5, "JPG5", "Extension 5"},
    {0xF6, "JPG6", "Extension 6"},
    {0xF7, "JPG7", "Extension 7"},
    {0xF8, "JPG8", "Extension 8"},
    {0xF9, "JPG9", "Extension 9"},
    {0xFA, "JPG10", "Extension 10"},
    {0xFB, "JPG11", "Extension 11"},
    {0xFC, "JPG12", "Extension 12"},
    {0xFD, "JPG13", "Extension 13"},
};
// clang-format on
static_assert(sizeof JPEGMarkerTable / sizeof JPEGMarkerTable[0] == 62);

const MarkerRow* findMarker(int marker) {
    for (const MarkerRow& row : JPEGMarkerTable)
        if (row.marker == marker)
            return &row;
    return nullptr;
}

void logNoMemory(JPEGData* data, std::size_t bytes) {
    exif_log(data->priv->log.get(), EXIF_LOG_CODE_NO_MEMORY, kDomain,
             "Could not allocate %lu byte(s).", static_cast<unsigned long>(bytes));
}

void logCorrupt(JPEGData* data, const char* format, const char* path = nullptr) {
    exif_log(data->priv->log.get(), EXIF_LOG_CODE_CORRUPT_DATA, kDomain, format, path);
}

bool hasMarkerContent(int marker) {
    return marker != 0 && !JpegSegmentReader::isStandalone(marker);
}

void releaseSection(JPEGSection& section) {
    if (section.exif)
        exif_data_unref(section.exif);
    std::free(section.data);
    section = JPEGSection();
}

bool isExifPayload(std::span<const unsigned char> payload) {
    return payload.size() >= 6 && std::memcmp(payload.data(), "Exif\0\0", 6) == 0;
}

// EXIF data that libexif could make nothing of is kept as raw bytes instead,
// so an unreadable block is not replaced by an empty one on save.
bool holdsAnything(const ExifData* exif) {
    if (exif->data && exif->size > 0)
        return true;
    for (ExifContent* content : exif->ifd)
        if (content && content->count > 0)
            return true;
    return false;
}

struct Buffer {
    unsigned char* bytes = nullptr;
    std::size_t size = 0;
    std::size_t capacity = 0;
    bool failed = false;

    bool append(const void* from, std::size_t count) {
        if (failed)
            return false;
        if (size + count > capacity) {
            std::size_t wanted = capacity ? capacity * 2 : 65536;
            while (wanted < size + count)
                wanted *= 2;
            auto* grown = static_cast<unsigned char*>(std::realloc(bytes, wanted));
            if (!grown) {
                failed = true;
                return false;
            }
            bytes = grown;
            capacity = wanted;
        }
        if (count)
            std::memcpy(bytes + size, from, count);
        size += count;
        return true;
    }
    bool appendByte(unsigned char byte) { return append(&byte, 1); }
    bool appendLength(std::size_t payload) {
        const unsigned int length = static_cast<unsigned int>(payload + 2);
        const unsigned char be[2] = {static_cast<unsigned char>(length >> 8),
                                     static_cast<unsigned char>(length & 0xFF)};
        return append(be, 2);
    }
};

// Serialises EXIF data for one APP1 segment. A block too large for the
// segment first loses its thumbnail; when it still does not fit, nothing is
// returned and the caller gives up.
bool serialiseExif(JPEGData* data, ExifData* exif, unsigned char** bytes, unsigned int* size) {
    *bytes = nullptr;
    *size = 0;
    exif_data_save_data(exif, bytes, size);
    if (*bytes && *size > kJpegMaxSegmentPayload && exif->data && exif->size > 0) {
        std::free(*bytes);
        *bytes = nullptr;
        *size = 0;
        std::free(exif->data);
        exif->data = nullptr;
        exif->size = 0;
        exif_data_save_data(exif, bytes, size);
    }
    if (*bytes && *size > kJpegMaxSegmentPayload) {
        exif_log(data->priv->log.get(), EXIF_LOG_CODE_CORRUPT_DATA, kDomain,
                 "EXIF data of %u bytes does not fit a JPEG segment.", *size);
        std::free(*bytes);
        *bytes = nullptr;
        *size = 0;
        return false;
    }
    return true;
}

} // namespace

JPEGData* jpeg_data_new() {
    auto* data = static_cast<JPEGData*>(std::calloc(1, sizeof(JPEGData)));
    if (!data)
        return nullptr;
    data->priv = new (std::nothrow) JPEGDataPrivate;
    if (!data->priv) {
        std::free(data);
        return nullptr;
    }
    return data;
}

JPEGData* jpeg_data_new_from_file(const char* path) {
    JPEGData* data = jpeg_data_new();
    jpeg_data_load_file(data, path);
    return data;
}

JPEGData* jpeg_data_new_from_data(const unsigned char* bytes, unsigned int size) {
    JPEGData* data = jpeg_data_new();
    jpeg_data_load_data(data, bytes, size);
    return data;
}

void jpeg_data_ref(JPEGData* data) {
    if (data)
        ++data->priv->refCount;
}

void jpeg_data_unref(JPEGData* data) {
    if (!data)
        return;
    if (data->priv->refCount > 0)
        --data->priv->refCount;
    if (data->priv->refCount == 0)
        jpeg_data_free(data);
}

void jpeg_data_free(JPEGData* data) {
    if (!data)
        return;
    for (unsigned int i = 0; i < data->count; ++i)
        releaseSection(data->sections[i]);
    std::free(data->sections);
    std::free(data->data);
    delete data->priv;
    std::free(data);
}

void jpeg_data_append_section(JPEGData* data) {
    if (!data)
        return;
    const std::size_t bytes = sizeof(JPEGSection) * (data->count + 1);
    auto* grown = static_cast<JPEGSection*>(std::realloc(data->sections, bytes));
    if (!grown) {
        logNoMemory(data, bytes);
        return;
    }
    data->sections = grown;
    data->sections[data->count] = JPEGSection();
    ++data->count;
}

namespace {

// Appends a section for one segment: its parsed EXIF data, or its payload
// as read. False when memory runs out.
bool appendSection(JPEGData* data, int marker, std::span<const unsigned char> payload) {
    const unsigned int before = data->count;
    jpeg_data_append_section(data);
    if (data->count == before)
        return false;
    JPEGSection& section = data->sections[data->count - 1];
    section.marker = marker;
    if (marker == JPEG_MARKER_APP1 && isExifPayload(payload)) {
        ExifDataPtr exif(ExifDataIO::loadExifData(payload.data(), payload.size()));
        if (exif && holdsAnything(exif.get())) {
            section.exif = exif.release();
            return true;
        }
    }
    if (payload.empty())
        return true;
    section.data = static_cast<unsigned char*>(std::malloc(payload.size()));
    if (!section.data) {
        logNoMemory(data, payload.size());
        return false;
    }
    std::memcpy(section.data, payload.data(), payload.size());
    section.size = static_cast<unsigned int>(payload.size());
    return true;
}

// Replaces the entropy-coded data with a copy of `image`.
bool keepImageData(JPEGData* data, std::span<const unsigned char> image) {
    std::free(data->data);
    data->data = nullptr;
    data->size = 0;
    if (image.empty())
        return true;
    data->data = static_cast<unsigned char*>(std::malloc(image.size()));
    if (!data->data) {
        logNoMemory(data, image.size());
        return false;
    }
    std::memcpy(data->data, image.data(), image.size());
    data->size = static_cast<unsigned int>(image.size());
    return true;
}

} // namespace

void jpeg_data_load_data(JPEGData* data, const unsigned char* bytes, unsigned int size) {
    if (!data || !bytes)
        return;
    data->priv->complete = false;
    JpegSegmentReader segments(std::span(bytes, size));
    while (const auto segment = segments.next()) {
        if (!appendSection(data, segment->marker, segment->payload))
            return;
        if (segment->marker != JPEG_MARKER_SOS)
            continue;
        std::span<const unsigned char> image(bytes + segment->end, size - segment->end);
        // A trailing FF D9 is the end-of-image marker: its own section.
        const bool eoi =
            image.size() >= 2 && image[image.size() - 2] == 0xFF && image.back() == JPEG_MARKER_EOI;
        if (eoi)
            image = image.first(image.size() - 2);
        if (!keepImageData(data, image))
            return;
        if (eoi && !appendSection(data, JPEG_MARKER_EOI, {}))
            return;
        data->priv->complete = true;
    }
    if (segments.status() == JpegSegmentReader::Status::Malformed)
        logCorrupt(data, "Data does not follow JPEG specification.");
}

int jpeg_data_is_complete(JPEGData* data) {
    return data && data->priv->complete ? 1 : 0;
}

void jpeg_data_load_file(JPEGData* data, const char* path) {
    if (!data || !path)
        return;
    File file(std::fopen(path, "rb"));
    if (!file) {
        logCorrupt(data, "Path '%s' invalid.", path);
        return;
    }
    long size = -1;
    if (std::fseek(file.get(), 0, SEEK_END) == 0)
        size = std::ftell(file.get());
    if (size < 0 || static_cast<unsigned long>(size) > 0xFFFFFFFFul ||
        std::fseek(file.get(), 0, SEEK_SET) != 0) {
        logCorrupt(data, "Could not read '%s'.", path);
        return;
    }
    MallocBytes bytes(static_cast<unsigned char*>(std::malloc(size ? size : 1)));
    if (!bytes) {
        logNoMemory(data, static_cast<std::size_t>(size));
        return;
    }
    if (std::fread(bytes.get(), 1, size, file.get()) != static_cast<std::size_t>(size)) {
        logCorrupt(data, "Could not read '%s'.", path);
        return;
    }
    file.reset();
    jpeg_data_load_data(data, bytes.get(), static_cast<unsigned int>(size));
}

void jpeg_data_save_data(JPEGData* data, unsigned char** bytes, unsigned int* size) {
    if (!bytes || !size)
        return;
    *bytes = nullptr;
    *size = 0;
    if (!data)
        return;
    Buffer out;
    for (unsigned int i = 0; i < data->count && !out.failed; ++i) {
        JPEGSection& section = data->sections[i];
        // A section that never got a marker has nothing to write.
        if (section.marker == 0)
            continue;
        if (section.exif) {
            unsigned char* exifBytes = nullptr;
            unsigned int exifSize = 0;
            if (!serialiseExif(data, section.exif, &exifBytes, &exifSize)) {
                std::free(out.bytes);
                return;
            }
            if (!exifBytes)
                continue; // no marker without its segment
            out.appendByte(0xFF);
            out.appendByte(static_cast<unsigned char>(section.marker));
            out.appendLength(exifSize);
            out.append(exifBytes, exifSize);
            std::free(exifBytes);
            continue;
        }
        out.appendByte(0xFF);
        out.appendByte(static_cast<unsigned char>(section.marker));
        if (!hasMarkerContent(section.marker))
            continue;
        if (section.size > kJpegMaxSegmentPayload) {
            std::free(out.bytes);
            return;
        }
        out.appendLength(section.size);
        out.append(section.data, section.size);
        if (section.marker == JPEG_MARKER_SOS)
            out.append(data->data, data->size);
    }
    if (out.failed || out.size > 0xFFFFFFFFu) {
        logNoMemory(data, out.capacity * 2);
        std::free(out.bytes);
        return;
    }
    *bytes = out.bytes;
    *size = static_cast<unsigned int>(out.size);
}

int jpeg_data_save_file(JPEGData* data, const char* path) {
    if (!data || !path)
        return 0;
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    jpeg_data_save_data(data, &bytes, &size);
    if (!bytes)
        return 0;
    // Truncating in place keeps a name that was created exclusively.
    FILE* file = std::fopen(path, "wb");
    if (!file) {
        std::free(bytes);
        return 0;
    }
    const std::size_t written = std::fwrite(bytes, 1, size, file);
    std::free(bytes);
    const bool flushed = std::fflush(file) == 0 && fsync(fileno(file)) == 0;
    const bool closed = std::fclose(file) == 0;
    if (written != size || !flushed || !closed) {
        std::remove(path);
        return 0;
    }
    return 1;
}

ExifData* jpeg_data_get_exif_data(JPEGData* data) {
    if (!data)
        return nullptr;
    for (unsigned int i = 0; i < data->count; ++i) {
        if (data->sections[i].exif) {
            exif_data_ref(data->sections[i].exif);
            return data->sections[i].exif;
        }
    }
    return nullptr;
}

void jpeg_data_set_exif_data(JPEGData* data, ExifData* exif) {
    if (!data || !exif)
        return;
    for (unsigned int i = 0; i < data->count; ++i) {
        JPEGSection& section = data->sections[i];
        if (section.exif) {
            exif_data_ref(exif);
            exif_data_unref(section.exif);
            section.exif = exif;
            return;
        }
    }
    const unsigned int before = data->count;
    jpeg_data_append_section(data);
    if (data->count == before || data->count < 2)
        return; // an object without sections keeps the new one empty
    JPEGSection added = data->sections[data->count - 1];
    std::memmove(&data->sections[2], &data->sections[1], sizeof(JPEGSection) * (data->count - 2));
    added.marker = JPEG_MARKER_APP1;
    exif_data_ref(exif);
    added.exif = exif;
    data->sections[1] = added;
}

void jpeg_data_dump(JPEGData* data) {
    if (!data)
        return;
    std::printf("Dumping JPEG data (%i bytes of data)...\n", static_cast<int>(data->size));
    for (unsigned int i = 0; i < data->count; ++i) {
        const JPEGSection& section = data->sections[i];
        const char* name = jpeg_marker_get_name(section.marker);
        const char* description = jpeg_marker_get_description(section.marker);
        std::printf("Section %i (marker 0x%x - %s):\n", static_cast<int>(i), section.marker,
                    name ? name : "(unknown)");
        std::printf("  Description: %s\n", description ? description : "(unknown)");
        if (section.exif) {
            exif_data_dump(section.exif);
        } else if (hasMarkerContent(section.marker)) {
            std::printf("  Size: %i\n", static_cast<int>(section.size));
            std::printf("  Unknown content.\n");
        }
    }
}

void jpeg_data_log(JPEGData* data, ExifLog* log) {
    if (!data)
        return;
    if (log)
        exif_log_ref(log);
    data->priv->log.reset(log);
}

const char* jpeg_marker_get_name(int marker) {
    const MarkerRow* row = findMarker(marker);
    return row ? row->name : nullptr;
}

const char* jpeg_marker_get_description(int marker) {
    const MarkerRow* row = findMarker(marker);
    return row ? row->description : nullptr;
}
