// SPDX-License-Identifier: GPL-3.0-or-later
// pixhaul-bench-listing FOLDER [COUNT]
// Lists FOLDER with FolderListing::listFolder (an item per entry, each
// image's EXIF date read) and prints the call's wall time in seconds
// (start-up left out, as for a running application). Fails when COUNT is
// given and the listing has another number of items, or when an image's
// date is not the corpus's EXIF date (the file's date taken instead).
#include "browser/FolderListing.h"

#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER [COUNT]\n", argv[0]);
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    const QList<BrowserItemPtr> items = FolderListing::listFolder(QFile::decodeName(argv[1]));
    const double seconds = double(clock.nsecsElapsed()) / 1e9;

    if (argc == 3 && items.size() != std::atoi(argv[2])) {
        std::fprintf(stderr, "listed %lld items, expected %s\n",
                     static_cast<long long>(items.size()), argv[2]);
        return 1;
    }
    // The corpus is dated July 2023.
    for (const BrowserItemPtr& item : items) {
        if (item->isMedia() && item->creationDate().date().year() != 2023) {
            std::fprintf(stderr, "no EXIF date: %s\n", qPrintable(item->path()));
            return 1;
        }
    }
    std::printf("%.6f\n", seconds);
    return 0;
}
