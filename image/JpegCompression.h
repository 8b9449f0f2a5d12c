// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The "jpeg_compression" setting reaches the image library unchanged from
// every caller. Its stored default, 90.0, is a quality percentage; values at
// or below 1.0 are taken as a 0-1 compression factor, the writer's own scale.
namespace JpegCompression {

// The writer's 0-1 factor for a setting value.
double factorFromSetting(double value);

// The libjpeg quality, 1 to 100, for a setting value.
int qualityFromSetting(double value);

} // namespace JpegCompression
