// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSizeF>
#include <QString>

// Pixel size, bitmap access and savers for decoded images. A QImage has one
// representation, its pixels, so the largest representation is the image
// itself. Any thread.
namespace ImageBitmapOps {

// The pixel size when both sides are at least 1, else the size in
// device-independent points.
QSizeF maxSize(const QImage& image);

// The image's pixels in a format every saver and painter takes.
QImage getBitmap(const QImage& image);

// See BitmapSaveOps; `jpegCompression` is the "jpeg_compression" setting.
bool saveAsJpeg(const QImage& image, const QString& path, double jpegCompression);
bool saveAsPng(const QImage& image, const QString& path);
bool saveSameAs(const QImage& image, const QString& source, const QString& target,
                double jpegCompression);

} // namespace ImageBitmapOps
