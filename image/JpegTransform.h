// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// Transforms JPEG bytes losslessly (DCT coefficients only, every marker
// copied unchanged, EXIF included) by a JpegTransformCode. Refused (empty
// result), for every code, unless width and height are whole multiples of
// the MCU size, and for frames over a gigapixel. Any thread.
QByteArray jpegTransformData(const QByteArray& jpeg, int transform);

// The same for a file. Returns the malloc'ed UTF-8 path of the result, a new
// hidden file beside the source (so a rename over the source stays on one
// file system) flushed to disk, or null; the caller frees the string. The
// source is never changed. Any thread.
char* jpegTransform(const char* path, int transform);
