// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <libexif/exif-data.h>

#include <cstddef>

// Loading libexif data so that rewriting it keeps what the camera wrote:
// unknown tags are kept and nothing is "fixed" or added on load (libexif's
// default options would drop the first and add missing mandatory tags).
namespace ExifDataIO {

// A new, empty ExifData with the options above; null when memory runs out.
ExifData* newExifData();

// Parses an EXIF block ("Exif\0\0" header, or a whole APP1 segment). Null
// when the bytes hold no EXIF data.
ExifData* loadExifData(const unsigned char* bytes, std::size_t size);

// Reads the EXIF block of a JPEG, TIFF-structured or raw EXIF file. Only the
// head of the file up to the EXIF segment is read. Null when there is none.
ExifData* loadExifDataFromFile(const QString& path);

} // namespace ExifDataIO
