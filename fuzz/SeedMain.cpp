// SPDX-License-Identifier: GPL-3.0-or-later
// fuzz_seeds FOLDER: writes small valid JPEG files (with and without EXIF,
// each orientation, odd sizes, one with an EXIF thumbnail), a PNG, DNG and
// HEIC files as starting points for the fuzzers.
#include "DngFixture.h"
#include "ExifBuilder.h"
#include "HeifFixture.h"
#include "JpegFixture.h"
#include "TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
        return 2;
    }
    const QString folder = QFile::decodeName(argv[1]);
    QDir().mkpath(folder);
    int written = 0;
    const QSize sizes[] = {{16, 16}, {48, 32}, {17, 9}};
    for (const QSize& size : sizes) {
        for (int orientation = 0; orientation <= 8; orientation += 2) {
            JpegFixture::Options options;
            options.size = size;
            options.orientation = orientation;
            if (orientation > 0) {
                options.make = QStringLiteral("Seed");
                options.digitized = QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5));
            }
            if (JpegFixture::write(QStringLiteral("%1/seed-%2x%3-o%4.jpg")
                                       .arg(folder)
                                       .arg(size.width())
                                       .arg(size.height())
                                       .arg(orientation),
                                   options))
                ++written;
        }
    }
    // The picture readers beyond JPEG, and the EXIF thumbnail.
    QImage picture(24, 16, QImage::Format_ARGB32);
    picture.fill(Qt::darkCyan);
    if (picture.save(folder + QStringLiteral("/seed.png")))
        ++written;
    QByteArray small;
    QBuffer buffer(&small);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "JPEG");
    ExifBuilder exif;
    exif.addShort(EXIF_IFD_0, EXIF_TAG_ORIENTATION, 6);
    exif.setThumbnail(std::vector<unsigned char>(small.begin(), small.end()));
    const QByteArray large = JpegFixture::jpeg({});
    const auto file = ExifBuilder::withApp1(std::vector<unsigned char>(large.begin(), large.end()),
                                            exif.payload());
    if (TestFiles::write(
            folder + QStringLiteral("/seed-exif-thumbnail.jpg"),
            QByteArray(reinterpret_cast<const char*>(file.data()), qsizetype(file.size()))))
        ++written;
    // RAW and HEIC for the picture decoder: turned, dated, with and
    // without a readable raw strip or a stored thumbnail.
    const QDateTime taken(QDate(2021, 5, 6), QTime(7, 8, 9));
    if (DngFixture::write(
            folder + QStringLiteral("/seed.dng"),
            {.rawSize = {64, 48}, .previewSize = {32, 24}, .orientation = 6, .taken = taken}))
        ++written;
    if (DngFixture::write(folder + QStringLiteral("/seed-preview-only.dng"),
                          {.rawSize = {64, 48}, .previewSize = {32, 24}, .rawData = false}))
        ++written;
    if (HeifFixture::canEncode() &&
        HeifFixture::write(
            folder + QStringLiteral("/seed.heic"),
            {.size = {32, 16}, .taken = taken, .orientation = 6, .thumbnailSide = 16}))
        ++written;
    return written > 0 ? 0 : 1;
}
