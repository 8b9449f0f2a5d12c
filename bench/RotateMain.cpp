// SPDX-License-Identifier: GPL-3.0-or-later
// pixhaul-bench-rotate FILE: turns FILE upright in place with
// ImageUtils::autoLosslessRotateImage and prints the call's wall time in
// seconds (start-up of the program left out, as for a running application).
#include "ImageUtils.h"

#include <QFile>
#include <QGuiApplication>

#include <chrono>
#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s FILE\n", argv[0]);
        return 2;
    }
    const QString path = QFile::decodeName(argv[1]);
    const auto start = std::chrono::steady_clock::now();
    const bool ok = ImageUtils::autoLosslessRotateImage(path);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    if (!ok) {
        std::fprintf(stderr, "rotation failed: %s\n", argv[1]);
        return 1;
    }
    std::printf("%.6f\n", elapsed.count());
    return 0;
}
