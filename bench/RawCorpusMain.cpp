// SPDX-License-Identifier: GPL-3.0-or-later
// pixhaul-bench-rawcorpus FOLDER COUNT WIDTH HEIGHT
//   Writes COUNT DNG files into FOLDER/dng, each with a camera-like
//   full-size JPEG preview of WIDTH x HEIGHT (a quarter-size raw strip
//   behind it, as the preview alone is measured), and COUNT HEIC files of a
//   phone's 4032 x 3024 with a 320-pixel stored thumbnail into FOLDER/heic.
#include "DngFixture.h"
#include "HeifFixture.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

// Gradients with a fine grain, as the thumbnail corpus's camera-like
// pictures (CorpusGenerator), so the JPEG and HEVC streams cost what a
// photo's do.
QImage photoLike(const QSize& size, quint32 seed) {
    QImage image(size, QImage::Format_RGB888);
    QRandomGenerator random(seed);
    for (int y = 0; y < size.height(); ++y) {
        uchar* line = image.scanLine(y);
        const int vy = y * 255 / size.height();
        for (int x = 0; x < size.width(); ++x) {
            const int grain = int(random.bounded(16)) - 8;
            const int vx = x * 255 / size.width();
            const int base[3] = {vx, vy, ((vx + vy + int(seed) * 37) / 2) & 255};
            for (int c = 0; c < 3; ++c)
                line[3 * x + c] = uchar(std::clamp(base[c] + grain, 0, 255));
        }
    }
    return image;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 5) {
        std::fprintf(stderr, "usage: %s FOLDER COUNT WIDTH HEIGHT\n", argv[0]);
        return 2;
    }
    const QDir folder(QFile::decodeName(argv[1]));
    const int count = std::atoi(argv[2]);
    const QSize size(std::atoi(argv[3]), std::atoi(argv[4]));
    if (!QDir().mkpath(folder.filePath(QStringLiteral("dng"))) ||
        !QDir().mkpath(folder.filePath(QStringLiteral("heic")))) {
        std::fprintf(stderr, "cannot create %s\n", argv[1]);
        return 1;
    }
    if (!HeifFixture::canEncode()) {
        std::fprintf(stderr, "libheif has no HEVC encoder\n");
        return 1;
    }
    const QDateTime taken(QDate(2024, 3, 9), QTime(10, 11, 12));
    for (int i = 0; i < count; ++i) {
        const QString name = QStringLiteral("IMG_%1").arg(i + 1, 4, 10, QLatin1Char('0'));
        DngFixture::Options dng;
        dng.rawSize = size / 2;
        dng.preview = photoLike(size, quint32(i));
        dng.previewQuality = 92; // the thumbnail corpus's quality
        dng.orientation = i % 2 ? 6 : 1;
        dng.taken = taken;
        HeifFixture::Options heic;
        heic.picture = photoLike(QSize(4032, 3024), quint32(1000 + i));
        heic.taken = taken;
        heic.thumbnailSide = 320;
        if (!DngFixture::write(folder.filePath(QStringLiteral("dng/%1.DNG").arg(name)), dng) ||
            !HeifFixture::write(folder.filePath(QStringLiteral("heic/%1.HEIC").arg(name)), heic)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
