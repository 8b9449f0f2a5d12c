// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Transforms a JPEG file losslessly (DCT coefficients only, every marker
// copied unchanged, EXIF included) by a JpegTransformCode. Refused, for every
// code, unless width and height are whole multiples of the MCU size. Returns
// the malloc'ed UTF-8 path of the result, a new hidden file beside the
// source (so a rename over the source stays on one file system), or null;
// the caller frees the string. The source is never changed. Any thread.
char* jpegTransform(const char* path, int transform);
