// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Writes camera-like JPEG files for the benchmarks: 4:2:0, EXIF Make, Model,
// DateTimeDigitized and Orientation, and a 160x120 EXIF thumbnail, as a
// camera writes them, or no EXIF thumbnail, as editors often leave files.
// The pixels are smooth gradients with grain, so the files have a camera's
// size per pixel rather than a flat colour's.
class CorpusGenerator {
public:
    struct Picture {
        int width = 6000;
        int height = 4000;
        int quality = 92;
        int orientation = 1;
        std::string digitized; // "YYYY:MM:DD HH:MM:SS"
        std::uint32_t seed = 1;
        bool embeddedThumbnail = true;
    };

    CorpusGenerator();
    ~CorpusGenerator();
    CorpusGenerator(const CorpusGenerator&) = delete;
    CorpusGenerator& operator=(const CorpusGenerator&) = delete;

    // The complete file; empty on failure.
    std::vector<unsigned char> jpeg(const Picture& picture);

private:
    std::vector<unsigned char> encode(const std::vector<unsigned char>& rgb, int width, int height,
                                      int quality);
    // Without a thumbnail, IFD 1 is left out.
    std::vector<unsigned char> exifBlock(const Picture& picture,
                                         const std::vector<unsigned char>& thumbnail);

    void* m_compressor;
};
