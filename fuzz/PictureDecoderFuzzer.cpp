// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzEntries.h"

#include <QGuiApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    // Qt's image plugins need the application object.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzEntries::pictureDecoder(data, size);
}
