// SPDX-License-Identifier: GPL-3.0-or-later
#include "DngFixture.h"
#include "FuzzEntries.h"
#include "HeifFixture.h"
#include "JpegFixtures.h"
#include "ThumbnailPng.h"

#include <QList>
#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace JpegFixtures;

namespace {

// Valid files whose damaged copies make the corpus: a camera-like JPEG with
// EXIF and thumbnail (both byte orders), and a bare TIFF header.
QList<QByteArray> seeds() {
    ExifOptions littleEndian;
    littleEndian.orientation = 8;
    littleEndian.littleEndian = true;
    littleEndian.thumbnail = encodeJpeg(quadrants(16, 16));
    littleEndian.thumbnailOrientation = true;
    const QByteArray tiff = exifPayload(littleEndian).mid(6);
    const QByteArray png =
        ThumbnailPng::encode(quadrants(24, 8), {{"Thumb::URI", "file:///a.jpg"}});
    return {orientedJpeg(quadrants(32, 16), 6),
            withExif(encodeJpeg(quadrants(16, 16)), exifPayload(littleEndian), true), tiff, png};
}

QList<QByteArray> corruptInputs() {
    QList<QByteArray> inputs;
    QRandomGenerator random(20240501);
    for (const QByteArray& seed : seeds()) {
        // Every truncation point through the headers, then coarser ones.
        for (qsizetype cut = 0; cut < seed.size(); cut += cut < 700 ? 1 : 97)
            inputs.append(seed.left(cut));
        // Random byte damage, a few bytes at a time.
        for (int round = 0; round < 300; ++round) {
            QByteArray damaged = seed;
            const int hits = 1 + int(random.bounded(4));
            for (int i = 0; i < hits; ++i) {
                const qsizetype at =
                    qsizetype(random.bounded(int(qMin<qsizetype>(seed.size(), 800))));
                damaged[at] = char(random.bounded(256));
            }
            inputs.append(damaged);
        }
        // Lengths and offsets set to extremes at every 16-bit position of
        // the header region.
        for (qsizetype at = 2; at + 1 < qMin<qsizetype>(seed.size(), 400); at += 2) {
            for (const char* extreme : {"\xFF\xFF", "\x00\x00", "\x00\x01", "\x7F\xFF"}) {
                QByteArray damaged = seed;
                damaged[at] = extreme[0];
                damaged[at + 1] = extreme[1];
                inputs.append(damaged);
            }
        }
    }
    inputs.append(QByteArray::fromHex("FFD8FFE1FFFF457869660000"));
    inputs.append(QByteArray::fromHex("FFD8FFE10014457869660000"
                                      "4D4D002A0000FFFF00010112"));
    inputs.append(QByteArray::fromHex("4949"
                                      "2A00"
                                      "08000000"
                                      "FFFF"));
    inputs.append(QByteArray(5000, char(0xFF)));
    return inputs;
}

} // namespace

// The fuzz targets' entry functions over generated corrupt inputs, so the
// sanitizers of the normal test run see them too.
TEST(FuzzRegression, ParsersSurviveCorruptInputs) {
    const QList<QByteArray> inputs = corruptInputs();
    ASSERT_GT(inputs.size(), 1000);
    for (const QByteArray& input : inputs) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(input.constData());
        const auto size = std::size_t(input.size());
        EXPECT_EQ(FuzzEntries::jpegSections(bytes, size), 0);
        EXPECT_EQ(FuzzEntries::exifOrient(bytes, size), 0);
        EXPECT_EQ(FuzzEntries::byteReader(bytes, size), 0);
        EXPECT_EQ(FuzzEntries::thumbnailPng(bytes, size), 0);
    }
    // Reading decodes thumbnails: a sample of the inputs keeps this quick.
    for (qsizetype i = 0; i < inputs.size(); i += 7) {
        const auto* bytes = reinterpret_cast<const std::uint8_t*>(inputs[i].constData());
        EXPECT_EQ(FuzzEntries::exifRead(bytes, std::size_t(inputs[i].size())), 0);
        EXPECT_EQ(FuzzEntries::thumbnail(bytes, std::size_t(inputs[i].size())), 0);
    }
}

// RAW and HEIC files cut short and damaged through the picture decoder's
// entry (libraw and libheif with their limits set).
TEST(FuzzRegression, PictureDecoderSurvivesDamagedRawAndHeicFiles) {
    QList<QByteArray> seeds{DngFixture::dng({.rawSize = {64, 48}, .previewSize = {32, 24}})};
    if (HeifFixture::canEncode())
        seeds.append(HeifFixture::heic({.size = {32, 16}, .orientation = 6, .thumbnailSide = 16}));
    QRandomGenerator random(20240502);
    for (const QByteArray& seed : seeds) {
        ASSERT_FALSE(seed.isEmpty());
        QList<QByteArray> inputs;
        for (qsizetype cut = 0; cut < seed.size(); cut += cut < 600 ? 23 : 401)
            inputs.append(seed.left(cut));
        for (int round = 0; round < 60; ++round) {
            QByteArray damaged = seed;
            for (int i = 0; i < 1 + int(random.bounded(4)); ++i)
                damaged[qsizetype(random.bounded(int(qMin<qsizetype>(seed.size(), 1200))))] =
                    char(random.bounded(256));
            inputs.append(damaged);
        }
        for (const QByteArray& input : inputs)
            EXPECT_EQ(FuzzEntries::pictureDecoder(
                          reinterpret_cast<const std::uint8_t*>(input.constData()),
                          std::size_t(input.size())),
                      0);
    }
}
