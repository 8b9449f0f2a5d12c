// SPDX-License-Identifier: GPL-3.0-or-later
// fuzz_seeds FOLDER: writes small valid JPEG files (with and without EXIF,
// each orientation, odd sizes) as starting points for the fuzzers.
#include "JpegFixture.h"

#include <QDir>
#include <QGuiApplication>

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
    return written > 0 ? 0 : 1;
}
