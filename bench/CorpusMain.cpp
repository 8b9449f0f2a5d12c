// SPDX-License-Identifier: GPL-3.0-or-later
// pixhaul-bench-corpus FOLDER CARD_FILES SMALL_FILES [WIDTH HEIGHT]
// Writes the benchmark corpus into FOLDER:
//   card/DCIM/100BENCH/  CARD_FILES large pictures, orientations 1, 3, 6, 8
//                        mixed, dates over five days;
//   scan/DCIM/100BENCH/  hard links to the card's pictures;
//   scan/DCIM/101BENCH/  SMALL_FILES small pictures with EXIF dates;
//   rotate.jpg           one large picture of orientation 6;
//   card-orientations.txt  "<name> <orientation>" per card picture.
//
// pixhaul-bench-corpus --thumbnails FOLDER FILES [WIDTH HEIGHT]
// Writes the thumbnail corpus into FOLDER:
//   embedded/  FILES large pictures as the card's, with EXIF thumbnails;
//   plain/     the same pictures without EXIF thumbnails.
//
// pixhaul-bench-corpus --listing FOLDER FILES
// Writes FILES small pictures with EXIF dates, as the scan's, into FOLDER.
//
// pixhaul-bench-corpus --tiny FOLDER FILES
// Writes a card of FILES pictures of about 4 KB each (EXIF date, no
// thumbnail) into FOLDER/DCIM/100BENCH.
#include "CorpusGenerator.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace fs = std::filesystem;

namespace {

const int kOrientations[] = {1, 6, 3, 8, 1, 6, 1, 8};

bool writeFile(const fs::path& path, const std::vector<unsigned char>& bytes) {
    if (bytes.empty())
        return false;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    if (!out)
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
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

CorpusGenerator::Picture largePicture(int index, int count, int width, int height) {
    CorpusGenerator::Picture picture;
    picture.width = width;
    picture.height = height;
    picture.orientation = kOrientations[index % 8];
    picture.digitized = dateFor(index, count);
    picture.seed = static_cast<std::uint32_t>(index + 1);
    return picture;
}

bool writeSmallPictures(CorpusGenerator& generator, const fs::path& folder, int count) {
    for (int i = 0; i < count; ++i) {
        CorpusGenerator::Picture picture;
        picture.width = 320;
        picture.height = 240;
        picture.digitized = dateFor(i, count);
        picture.seed = static_cast<std::uint32_t>(100000 + i);
        if (!writeFile(folder / nameFor("SML", i), generator.jpeg(picture)))
            return false;
    }
    return true;
}

// About 4 KB each: 96x64 pixels with grain and a small EXIF block.
int writeTinyCard(const fs::path& root, int count) {
    const fs::path card = root / "DCIM/100BENCH";
    fs::create_directories(card);
    CorpusGenerator generator;
    for (int i = 0; i < count; ++i) {
        CorpusGenerator::Picture picture;
        picture.width = 96;
        picture.height = 64;
        picture.embeddedThumbnail = false;
        picture.digitized = dateFor(i, count);
        picture.seed = static_cast<std::uint32_t>(200000 + i);
        char name[32];
        std::snprintf(name, sizeof name, "TNY_%05d.JPG", i + 1);
        if (!writeFile(card / name, generator.jpeg(picture)))
            return 1;
    }
    return 0;
}

int writeCardCorpus(const fs::path& root, int cardFiles, int smallFiles, int width, int height) {
    const fs::path card = root / "card/DCIM/100BENCH";
    const fs::path scanLarge = root / "scan/DCIM/100BENCH";
    const fs::path scanSmall = root / "scan/DCIM/101BENCH";
    fs::create_directories(card);
    fs::create_directories(scanLarge);
    fs::create_directories(scanSmall);

    CorpusGenerator generator;
    std::ofstream orientations(root / "card-orientations.txt", std::ios::trunc);
    for (int i = 0; i < cardFiles; ++i) {
        const CorpusGenerator::Picture picture = largePicture(i, cardFiles, width, height);
        const std::string name = nameFor("IMG", i);
        if (!writeFile(card / name, generator.jpeg(picture)))
            return 1;
        std::error_code ignored;
        fs::remove(scanLarge / name, ignored);
        fs::create_hard_link(card / name, scanLarge / name);
        orientations << name << ' ' << picture.orientation << '\n';
    }
    if (!writeSmallPictures(generator, scanSmall, smallFiles))
        return 1;
    CorpusGenerator::Picture turned;
    turned.width = width;
    turned.height = height;
    turned.orientation = 6;
    turned.digitized = dateFor(0, 1);
    turned.seed = 424242;
    return writeFile(root / "rotate.jpg", generator.jpeg(turned)) ? 0 : 1;
}

int writeThumbnailCorpus(const fs::path& root, int files, int width, int height) {
    const fs::path embedded = root / "embedded";
    const fs::path plain = root / "plain";
    fs::create_directories(embedded);
    fs::create_directories(plain);
    CorpusGenerator generator;
    for (int i = 0; i < files; ++i) {
        CorpusGenerator::Picture picture = largePicture(i, files, width, height);
        const std::string name = nameFor("IMG", i);
        if (!writeFile(embedded / name, generator.jpeg(picture)))
            return 1;
        picture.embeddedThumbnail = false;
        if (!writeFile(plain / name, generator.jpeg(picture)))
            return 1;
    }
    return 0;
}

int usage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s FOLDER CARD_FILES SMALL_FILES [WIDTH HEIGHT]\n"
                 "       %s --thumbnails FOLDER FILES [WIDTH HEIGHT]\n"
                 "       %s --listing FOLDER FILES\n"
                 "       %s --tiny FOLDER FILES\n",
                 program, program, program, program);
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--thumbnails") == 0) {
        if (argc != 4 && argc != 6)
            return usage(argv[0]);
        return writeThumbnailCorpus(argv[2], std::atoi(argv[3]),
                                    argc == 6 ? std::atoi(argv[4]) : 6000,
                                    argc == 6 ? std::atoi(argv[5]) : 4000);
    }
    if (argc >= 2 && std::strcmp(argv[1], "--listing") == 0) {
        if (argc != 4)
            return usage(argv[0]);
        fs::create_directories(argv[2]);
        CorpusGenerator generator;
        return writeSmallPictures(generator, argv[2], std::atoi(argv[3])) ? 0 : 1;
    }
    if (argc >= 2 && std::strcmp(argv[1], "--tiny") == 0) {
        if (argc != 4)
            return usage(argv[0]);
        return writeTinyCard(argv[2], std::atoi(argv[3]));
    }
    if (argc != 4 && argc != 6)
        return usage(argv[0]);
    return writeCardCorpus(argv[1], std::atoi(argv[2]), std::atoi(argv[3]),
                           argc == 6 ? std::atoi(argv[4]) : 6000,
                           argc == 6 ? std::atoi(argv[5]) : 4000);
}
