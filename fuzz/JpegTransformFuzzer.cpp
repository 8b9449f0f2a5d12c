// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransformFuzzEntry.h"

#include <QGuiApplication>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication application(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return TransformFuzzEntry::jpegTransform(data, size);
}
