// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Writing a bitmap as JPEG or PNG. Files are written atomically (a complete
// new file is renamed over the path). Any thread.
namespace BitmapSaveOps {

// `format` is a Qt image format name ("JPEG", "PNG"); `quality` -1 for the
// writer's default.
bool saveTo(const QImage& bitmap, const QString& path, const QByteArray& format, int quality);

// `jpegCompression` is the "jpeg_compression" setting as stored: a
// percentage, or a 0-1 factor when at or below 1.0 (see JpegCompression.h).
bool saveAsJpeg(const QImage& bitmap, const QString& path, double jpegCompression);
bool saveAsPng(const QImage& bitmap, const QString& path);

// JPEG when `source` looks like JPEG, PNG when it looks like PNG, else false
// without writing anything.
bool saveSameAs(const QImage& bitmap, const QString& source, const QString& target,
                double jpegCompression);

} // namespace BitmapSaveOps
