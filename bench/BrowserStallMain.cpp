// SPDX-License-Identifier: GPL-3.0-or-later
// pixhaul-bench-browser FOLDER [COUNT [SETTLE_MS]]
// Opens FOLDER in the image browser window (offscreen, private settings
// whose favourites hold FOLDER's parent) and watches the main thread
// through a 5 ms timer from the moment the folder is opened until the
// listing is finished and SETTLE_MS (2000) more of thumbnail loading have
// passed. Prints "<longest gap between ticks in ms> <listing seconds>".
// Fails when COUNT is given and the grid shows another number of items.
// Thumbnails go to the cache under $XDG_CACHE_HOME, as in the program.
#include "browser/ui/ImageBrowserController.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"

#include "Localization.h"

#include "DecodeLimits.h"
#include "UserDefaults.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc < 2 || argc > 4) {
        std::fprintf(stderr, "usage: %s FOLDER [COUNT [SETTLE_MS]]\n", argv[0]);
        return 2;
    }
    const QString folder =
        QDir::cleanPath(QFileInfo(QFile::decodeName(argv[1])).absoluteFilePath());
    const qsizetype expected = argc >= 3 ? std::atoi(argv[2]) : -1;
    const int settleMs = argc == 4 ? std::atoi(argv[3]) : 2000;
    Localization::installTranslations();
    DecodeLimits::allowLargePhotographs();

    // The user's own settings would change what is measured.
    QTemporaryDir settingsFolder;
    if (!settingsFolder.isValid())
        return 1;
    UserDefaults settings(settingsFolder.filePath(QStringLiteral("pixhaul.conf")));
    SettingsDefaults::registerDefaults(settings);
    settings.setObject(QStringList{QFileInfo(folder).absolutePath()},
                       QLatin1String(SettingsKeys::browser_favorites));
    ImageBrowserController window(settings);

    QElapsedTimer clock;
    qint64 lastTick = 0;
    qint64 longestGap = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(5);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        longestGap = std::max(longestGap, now - lastTick);
        lastTick = now;
    });

    double listingSeconds = -1;
    qsizetype shown = 0;
    QObject::connect(&window.content(), &BrowserContent::listingFinished, [&] {
        if (listingSeconds >= 0 || window.currentPath() != folder)
            return;
        listingSeconds = double(clock.nsecsElapsed()) / 1e9;
        shown = window.browserItems().size();
        QTimer::singleShot(settleMs, &application, &QCoreApplication::quit);
    });
    // Opened from the event loop, so the opening itself counts as a stall.
    QTimer::singleShot(0, &window, [&] { window.openPath(folder); });
    clock.start();
    ticker.start();
    // A folder that never finishes listing ends the run all the same.
    QTimer::singleShot(10 * 60 * 1000, &application, &QCoreApplication::quit);
    application.exec();

    if (listingSeconds < 0) {
        std::fprintf(stderr, "the listing never finished\n");
        return 1;
    }
    if (expected >= 0 && shown != expected) {
        std::fprintf(stderr, "the grid shows %lld items, expected %lld\n",
                     static_cast<long long>(shown), static_cast<long long>(expected));
        return 1;
    }
    std::printf("%.1f %.4f\n", double(longestGap) / 1e6, listingSeconds);
    return 0;
}
