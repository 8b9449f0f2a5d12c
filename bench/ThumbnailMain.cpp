// SPDX-License-Identifier: GPL-3.0-or-later
// pixhaul-bench-thumbnails make PIXELS FOLDER
//   Makes the thumbnail of every picture in FOLDER with
//   ThumbnailMaker::makeThumbnail, writing nothing; prints the loop's wall
//   time in seconds.
// pixhaul-bench-thumbnails load PIXELS FOLDER
//   Loads them twice through ThumbnailLoader::load and the cache under
//   $XDG_CACHE_HOME (which must be set, to a scratch folder): the first
//   visit makes and stores them, the second reads them back. Prints both
//   wall times in seconds.
// One picture after the other on this thread, so the tool compared with
// works under the same terms; start-up is left out, as for a running
// application. Fails when any picture gets no thumbnail.
#include "browser/ThumbnailLoader.h"
#include "browser/ThumbnailMaker.h"

#include "DecodeLimits.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QStringList>

#include <cstdio>
#include <cstring>

namespace {

// Seconds for one visit of `paths`; -1 when a thumbnail is missing.
template <typename Thumbnail> double visit(const QStringList& paths, Thumbnail thumbnail) {
    QElapsedTimer clock;
    clock.start();
    for (const QString& path : paths) {
        if (thumbnail(path).isNull()) {
            std::fprintf(stderr, "no thumbnail: %s\n", qPrintable(path));
            return -1;
        }
    }
    return double(clock.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    const bool make = argc == 4 && std::strcmp(argv[1], "make") == 0;
    const bool load = argc == 4 && std::strcmp(argv[1], "load") == 0;
    if (!make && !load) {
        std::fprintf(stderr, "usage: %s make|load PIXELS FOLDER\n", argv[0]);
        return 2;
    }
    if (load && qEnvironmentVariableIsEmpty("XDG_CACHE_HOME")) {
        std::fprintf(stderr, "%s: set XDG_CACHE_HOME to a scratch folder\n", argv[0]);
        return 2;
    }
    const int pixels = std::atoi(argv[2]);
    const QDir folder(QFile::decodeName(argv[3]));
    QStringList paths;
    for (const QString& name : folder.entryList(QDir::Files, QDir::Name))
        paths.append(folder.filePath(name));
    if (paths.isEmpty()) {
        std::fprintf(stderr, "no files in %s\n", argv[3]);
        return 1;
    }
    DecodeLimits::allowLargePhotographs();

    if (make) {
        const double seconds = visit(paths, [pixels](const QString& path) {
            return ThumbnailMaker::makeThumbnail(path, pixels);
        });
        if (seconds < 0)
            return 1;
        std::printf("%.6f\n", seconds);
        return 0;
    }
    const auto loaded = [pixels](const QString& path) {
        return ThumbnailLoader::load(path, pixels).image;
    };
    const double first = visit(paths, loaded);
    const double second = first < 0 ? -1 : visit(paths, loaded);
    if (second < 0)
        return 1;
    std::printf("%.6f %.6f\n", first, second);
    return 0;
}
