// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzEntries.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    return FuzzEntries::thumbnailPng(data, size);
}
