// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QSize>

// What a picture may declare before we decode it: real photographs of up to
// 200 megapixels pass, decompression bombs (a huge declared size, thousands
// of progressive scans) are refused before any pixel memory is taken. Any
// thread.
namespace DecodeLimits {

// Pictures up to this many pixels decode; larger declared sizes are refused.
inline constexpr qint64 maximumPixels = 200'000'000;

// Raises Qt's image allocation limit so real photographs of up to
// maximumPixels decode through Qt's readers. Once, at start-up.
void allowLargePhotographs();

// A valid size of at most maximumPixels.
bool acceptableSize(const QSize& size);

// JPEG bytes whose frame size, scan count and coefficient memory (what
// libjpeg keeps of a progressive picture whatever the output scale) are
// within the limits. False for bytes without a frame header.
bool acceptableJpeg(const QByteArray& jpeg);

} // namespace DecodeLimits
