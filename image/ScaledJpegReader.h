// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

// Decodes a JPEG file at the smallest DCT scale (1/8 up to 1/1) that still
// covers `atLeast`, so a thumbnail of a large photo costs a fraction of a
// full decode. Any thread.
namespace ScaledJpegReader {

// The stored pixel size of a JPEG file from its header; invalid when the
// file is no readable JPEG.
QSize storedSize(const QString& path);
QSize storedSize(const QByteArray& jpeg);

// Null when the file cannot be decoded.
QImage read(const QString& path, const QSize& atLeast);
// The same for JPEG bytes in memory.
QImage read(const QByteArray& jpeg, const QSize& atLeast);

} // namespace ScaledJpegReader
