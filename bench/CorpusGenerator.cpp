// SPDX-License-Identifier: GPL-3.0-or-later
#include "CorpusGenerator.h"

#include <libexif/exif-data.h>
#include <libexif/exif-utils.h>
#include <turbojpeg.h>

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

void addText(ExifData* data, ExifIfd ifd, ExifTag tag, const std::string& text) {
    const auto size = static_cast<unsigned int>(text.size() + 1);
    addEntry(data, ifd, tag, EXIF_FORMAT_ASCII, text.c_str(), size, size);
}

void addShort(ExifData* data, ExifIfd ifd, ExifTag tag, int value) {
    unsigned char bytes[2];
    exif_set_short(bytes, EXIF_BYTE_ORDER_INTEL, static_cast<ExifShort>(value));
    addEntry(data, ifd, tag, EXIF_FORMAT_SHORT, bytes, 1, 2);
}

// Gradients plus grain from a small xorshift generator: cheap, and varied
// per seed so no two files are alike.
std::vector<unsigned char> pixels(int width, int height, std::uint32_t seed) {
    std::vector<unsigned char> rgb(static_cast<std::size_t>(width) * height * 3);
    std::uint32_t state = seed * 2654435761u + 1;
    unsigned char* p = rgb.data();
    for (int y = 0; y < height; ++y) {
        const int vy = y * 255 / height;
        for (int x = 0; x < width; ++x) {
            state ^= state << 13;
            state ^= state >> 17;
            state ^= state << 5;
            const int grain = static_cast<int>(state & 15) - 8;
            const int vx = x * 255 / width;
            const int base[3] = {vx, vy, (vx + vy + static_cast<int>(seed) * 37) / 2 & 255};
            for (int c = 0; c < 3; ++c) {
                const int v = base[c] + grain;
                *p++ = static_cast<unsigned char>(v < 0 ? 0 : v > 255 ? 255 : v);
            }
        }
    }
    return rgb;
}

} // namespace

CorpusGenerator::CorpusGenerator()
    : compressor(tjInitCompress()) {}

CorpusGenerator::~CorpusGenerator() {
    if (compressor)
        tjDestroy(compressor);
}

std::vector<unsigned char> CorpusGenerator::encode(const std::vector<unsigned char>& rgb, int width,
                                                   int height, int quality) {
    unsigned char* out = nullptr;
    unsigned long size = 0;
    if (!compressor || tjCompress2(compressor, rgb.data(), width, 0, height, TJPF_RGB, &out, &size,
                                   TJSAMP_420, quality, 0) != 0) {
        tjFree(out);
        return {};
    }
    std::vector<unsigned char> bytes(out, out + size);
    tjFree(out);
    return bytes;
}

std::vector<unsigned char> CorpusGenerator::exifBlock(const Picture& picture,
                                                      const std::vector<unsigned char>& thumbnail) {
    ExifData* data = exif_data_new();
    exif_data_set_byte_order(data, EXIF_BYTE_ORDER_INTEL);
    addText(data, EXIF_IFD_0, EXIF_TAG_MAKE, "Pixhaul Bench");
    addText(data, EXIF_IFD_0, EXIF_TAG_MODEL, "Corpus 24");
    addShort(data, EXIF_IFD_0, EXIF_TAG_ORIENTATION, picture.orientation);
    addText(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, picture.digitized);
    addText(data, EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_DIGITIZED, picture.digitized);
    addShort(data, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION, picture.width);
    addShort(data, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION, picture.height);
    // libexif writes IFD1 with the thumbnail's offset and length itself.
    addShort(data, EXIF_IFD_1, EXIF_TAG_COMPRESSION, 6);
    data->data = static_cast<unsigned char*>(std::malloc(thumbnail.size()));
    std::memcpy(data->data, thumbnail.data(), thumbnail.size());
    data->size = static_cast<unsigned int>(thumbnail.size());

    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(data, &bytes, &size);
    std::vector<unsigned char> block(bytes, bytes + size);
    std::free(bytes);
    exif_data_unref(data);
    return block;
}

std::vector<unsigned char> CorpusGenerator::jpeg(const Picture& picture) {
    const std::vector<unsigned char> rgb = pixels(picture.width, picture.height, picture.seed);
    std::vector<unsigned char> main = encode(rgb, picture.width, picture.height, picture.quality);
    std::vector<unsigned char> small = encode(pixels(160, 120, picture.seed), 160, 120, 80);
    if (main.size() < 4 || small.empty())
        return {};
    const std::vector<unsigned char> exif = exifBlock(picture, small);
    if (exif.empty() || exif.size() + 2 > 0xFFFF)
        return {};

    // SOI, APP1 (EXIF) first as cameras write it, then the encoder's output
    // without its JFIF APP0.
    std::size_t rest = 2;
    if (main[2] == 0xFF && main[3] == 0xE0)
        rest = 4 + ((static_cast<std::size_t>(main[4]) << 8) | main[5]);
    std::vector<unsigned char> file = {0xFF, 0xD8, 0xFF, 0xE1};
    const std::size_t length = exif.size() + 2;
    file.push_back(static_cast<unsigned char>(length >> 8));
    file.push_back(static_cast<unsigned char>(length & 0xFF));
    file.insert(file.end(), exif.begin(), exif.end());
    file.insert(file.end(), main.begin() + static_cast<std::ptrdiff_t>(rest), main.end());
    return file;
}
