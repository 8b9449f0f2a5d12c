// SPDX-License-Identifier: GPL-3.0-or-later
#include "CorpusGenerator.h"

#include "ExifBuilder.h"

#include <turbojpeg.h>

#include <cstdint>

namespace {

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
    : m_compressor(tjInitCompress()) {}

CorpusGenerator::~CorpusGenerator() {
    if (m_compressor)
        tjDestroy(m_compressor);
}

std::vector<unsigned char> CorpusGenerator::encode(const std::vector<unsigned char>& rgb, int width,
                                                   int height, int quality) {
    unsigned char* out = nullptr;
    unsigned long size = 0;
    if (!m_compressor || tjCompress2(m_compressor, rgb.data(), width, 0, height, TJPF_RGB, &out,
                                     &size, TJSAMP_420, quality, 0) != 0) {
        tjFree(out);
        return {};
    }
    std::vector<unsigned char> bytes(out, out + size);
    tjFree(out);
    return bytes;
}

std::vector<unsigned char> CorpusGenerator::exifBlock(const Picture& picture,
                                                      const std::vector<unsigned char>& thumbnail) {
    ExifBuilder exif;
    exif.addText(EXIF_IFD_0, EXIF_TAG_MAKE, "Pixhaul Bench");
    exif.addText(EXIF_IFD_0, EXIF_TAG_MODEL, "Corpus 24");
    exif.addShort(EXIF_IFD_0, EXIF_TAG_ORIENTATION, picture.orientation);
    exif.addText(EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL, picture.digitized);
    exif.addText(EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_DIGITIZED, picture.digitized);
    exif.addShort(EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION, picture.width);
    exif.addShort(EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION, picture.height);
    if (!thumbnail.empty()) {
        exif.addShort(EXIF_IFD_1, EXIF_TAG_COMPRESSION, 6);
        exif.setThumbnail(thumbnail);
    }
    return exif.payload();
}

std::vector<unsigned char> CorpusGenerator::jpeg(const Picture& picture) {
    const std::vector<unsigned char> rgb = pixels(picture.width, picture.height, picture.seed);
    const std::vector<unsigned char> main =
        encode(rgb, picture.width, picture.height, picture.quality);
    std::vector<unsigned char> small;
    if (picture.embeddedThumbnail) {
        small = encode(pixels(160, 120, picture.seed), 160, 120, 80);
        if (small.empty())
            return {};
    }
    // APP1 (EXIF) first as cameras write it, without the encoder's JFIF APP0.
    return ExifBuilder::withApp1(main, exifBlock(picture, small));
}
