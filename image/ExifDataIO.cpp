// SPDX-License-Identifier: GPL-3.0-or-later
#include "ExifDataIO.h"

#include "LibexifHandles.h"

#include <QFile>

ExifData* ExifDataIO::newExifData() {
    ExifData* data = exif_data_new();
    if (!data)
        return nullptr;
    exif_data_unset_option(data, EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    return data;
}

ExifData* ExifDataIO::loadExifData(const unsigned char* bytes, std::size_t size) {
    if (!bytes || size == 0 || size > 0xFFFFFFFFu)
        return nullptr;
    ExifData* data = newExifData();
    if (!data)
        return nullptr;
    exif_data_load_data(data, bytes, static_cast<unsigned int>(size));
    return data;
}

ExifData* ExifDataIO::loadExifDataFromFile(const QString& path) {
    ExifLoaderPtr loader(exif_loader_new());
    if (!loader)
        return nullptr;
    // The loader stops reading as soon as it holds the EXIF segment, so the
    // pixels of a large JPEG are never read.
    exif_loader_write_file(loader.get(), QFile::encodeName(path).constData());
    const unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_loader_get_buf(loader.get(), &bytes, &size);
    return (bytes && size > 0) ? loadExifData(bytes, size) : nullptr;
}
