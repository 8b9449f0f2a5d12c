// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QList>

#include <cstdint>
#include <span>
#include <utility>

// The PNG files of the desktop's thumbnail cache, written and read fast.
// A thumbnail is read far more often than it is written, and most of a
// general PNG decoder's time goes into undoing the Paeth filter and into
// zlib: entries are written with the Sub and Up filters only (undone at
// memory speed) and inflated with libdeflate. Any other program's entry
// reads as well; what this decoder does not handle (palettes, grey, 16 bits
// a sample, interlacing) reads as a null image, for Qt's reader to take.
namespace ThumbnailPng {

using TextChunks = QList<std::pair<QByteArray, QByteArray>>;

// An 8-bit RGB (or RGBA when the image has alpha) PNG with `texts` as
// tEXt chunks (keywords and texts in Latin-1).
QByteArray encode(const QImage& image, const TextChunks& texts);

// The picture (RGB32 or ARGB32) with every tEXt, zTXt and iTXt chunk set
// as its text; null for data this decoder does not handle or that is
// broken, and for a picture wider or taller than `maxSide`. The bytes are
// not trusted.
QImage decode(std::span<const std::uint8_t> bytes, int maxSide);

} // namespace ThumbnailPng
