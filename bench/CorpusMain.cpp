// SPDX-License-Identifier: GPL-3.0-or-later
// pixhaul-bench-corpus FOLDER CARD_FILES SMALL_FILES [WIDTH HEIGHT]
// Writes the benchmark corpus into FOLDER:
//   card/DCIM/100BENCH/  CARD_FILES large pictures, orientations 1, 3, 6, 8
//                        mixed, dates over five days;
//   scan/DCIM/100BENCH/  hard links to the card's pictures;
//   scan/DCIM/101BENCH/  SMALL_FILES small pictures with EXIF dates;
//   rotate.jpg           one large picture of orientation 6;
//   card-orientations.txt  "<name> <orientation>" per card picture.
#include "CorpusGenerator.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

bool writeFile(const fs::path& path, const std::vector<unsigned char>& bytes) {
    if (bytes.empty())
        return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return bool(out);
}

// Five days from 2023-07-01, spread through each day.
std::string dateFor(int index, int count) {
    const int day = 1 + index * 5 / (count > 0 ? count : 1);
    const int minute = (index * 37) % (14 * 60);
    char text[32];
    std::snprintf(text, sizeof text, "2023:07:%02d %02d:%02d:%02d", day, 7 + minute / 60,
                  minute % 60, index % 60);
    return text;
}

std::string nameFor(const char* prefix, int index) {
    char name[32];
    std::snprintf(name, sizeof name, "%s_%04d.JPG", prefix, index + 1);
    return name;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4 && argc != 6) {
        std::fprintf(stderr, "usage: %s FOLDER CARD_FILES SMALL_FILES [WIDTH HEIGHT]\n", argv[0]);
        return 2;
    }
    const fs::path root = argv[1];
    const int cardFiles = std::atoi(argv[2]);
    const int smallFiles = std::atoi(argv[3]);
    const int width = argc == 6 ? std::atoi(argv[4]) : 6000;
    const int height = argc == 6 ? std::atoi(argv[5]) : 4000;
    const fs::path card = root / "card/DCIM/100BENCH";
    const fs::path scanLarge = root / "scan/DCIM/100BENCH";
    const fs::path scanSmall = root / "scan/DCIM/101BENCH";
    fs::create_directories(card);
    fs::create_directories(scanLarge);
    fs::create_directories(scanSmall);

    CorpusGenerator generator;
    std::ofstream orientations(root / "card-orientations.txt", std::ios::trunc);
    static const int kOrientations[] = {1, 6, 3, 8, 1, 6, 1, 8};
    for (int i = 0; i < cardFiles; ++i) {
        CorpusGenerator::Picture picture;
        picture.width = width;
        picture.height = height;
        picture.orientation = kOrientations[i % 8];
        picture.digitized = dateFor(i, cardFiles);
        picture.seed = static_cast<std::uint32_t>(i + 1);
        const std::string name = nameFor("IMG", i);
        if (!writeFile(card / name, generator.jpeg(picture))) {
            std::fprintf(stderr, "cannot write %s\n", (card / name).c_str());
            return 1;
        }
        std::error_code ignored;
        fs::remove(scanLarge / name, ignored);
        fs::create_hard_link(card / name, scanLarge / name);
        orientations << name << ' ' << picture.orientation << '\n';
    }
    for (int i = 0; i < smallFiles; ++i) {
        CorpusGenerator::Picture picture;
        picture.width = 320;
        picture.height = 240;
        picture.digitized = dateFor(i, smallFiles);
        picture.seed = static_cast<std::uint32_t>(100000 + i);
        if (!writeFile(scanSmall / nameFor("SML", i), generator.jpeg(picture)))
            return 1;
    }
    CorpusGenerator::Picture turned;
    turned.width = width;
    turned.height = height;
    turned.orientation = 6;
    turned.digitized = dateFor(0, 1);
    turned.seed = 424242;
    return writeFile(root / "rotate.jpg", generator.jpeg(turned)) ? 0 : 1;
}
