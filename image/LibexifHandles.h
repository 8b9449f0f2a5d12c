// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Owning pointers for libexif's reference-counted handles: each drops the
// one reference it holds when it goes.

#include <libexif/exif-data.h>
#include <libexif/exif-loader.h>
#include <libexif/exif-log.h>

#include <memory>

struct ExifDataUnref {
    void operator()(ExifData* data) const { exif_data_unref(data); }
};
struct ExifLoaderUnref {
    void operator()(ExifLoader* loader) const { exif_loader_unref(loader); }
};
struct ExifLogUnref {
    void operator()(ExifLog* log) const { exif_log_unref(log); }
};

using ExifDataPtr = std::unique_ptr<ExifData, ExifDataUnref>;
using ExifLoaderPtr = std::unique_ptr<ExifLoader, ExifLoaderUnref>;
using ExifLogPtr = std::unique_ptr<ExifLog, ExifLogUnref>;
