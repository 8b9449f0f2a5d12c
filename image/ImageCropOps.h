// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QPainter>
#include <QRectF>
#include <QSizeF>

// Scaling an image into a box, by cropping or by letterboxing. Any thread
// (offscreen drawing only).
namespace ImageCropOps {

enum CropMethod {
    CropCentered = 0,
    CropKeepTopOrLeft = 1,
    CropKeepBottomOrRight = 2,
    ScaleToFit = 3,
};

// Draws `image` into `rect` of the painter: methods 0 to 2 fill the whole
// rect and cut the excess (centred, keeping the top or left part, keeping
// the bottom or right part); method 3 scales the whole image into the rect,
// centred, leaving the bars untouched.
void drawInRect(const QImage& image, QPainter& painter, const QRectF& rect,
                QPainter::CompositionMode operation, qreal fraction, int method);

// A new image whose canvas is exactly `size` (transparent where nothing is
// drawn), with `image` drawn over it by drawInRect.
QImage imageToFitSize(const QImage& image, const QSizeF& size, int method);
QImage imageCroppedToFitSize(const QImage& image, const QSizeF& size);
QImage imageScaledToFitSize(const QImage& image, const QSizeF& size);

} // namespace ImageCropOps
