// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

// Turning and mirroring decoded images. Any thread.
namespace ImageTransformOps {

// By an ImageTransform code (0 to 4); any other code gives `image` itself.
QImage transform(const QImage& image, int transform);

// Rotated counter-clockwise as displayed, on a canvas of the rotated
// bounding box (corners transparent for angles other than multiples of 90).
QImage imageRotatedByDegrees(const QImage& image, double degrees);

// Mirrored left to right (`byX`) and/or top to bottom (`byY`).
QImage imageFlippedByX(const QImage& image, bool byX, bool byY);

// Turns an image upright by its EXIF orientation (1 to 8; others: as is).
QImage orientedUpright(const QImage& image, int orientation);

// Turned or mirrored as a lossless JPEG transform (a JpegTransformCode)
// turns a picture; unknown codes give `image` itself.
QImage transformedLikeJpeg(const QImage& image, int code);

} // namespace ImageTransformOps
