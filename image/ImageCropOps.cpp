// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageCropOps.h"

#include <cmath>

namespace {

// Sizes are worked out in single precision, rounding halves away from zero.
float rnd(float value) {
    return std::round(value);
}

} // namespace

void ImageCropOps::drawInRect(const QImage& image, QPainter& painter, const QRectF& rect,
                              QPainter::CompositionMode operation, qreal fraction, int method) {
    if (image.isNull() || image.height() <= 0 || rect.width() <= 0 || rect.height() <= 0)
        return;
    const float W = float(image.width());
    const float H = float(image.height());
    const float w = float(rect.width());
    const float h = float(rect.height());
    const float a = W / H;

    const bool wideBox = w / h >= a;
    const bool matchWidth = method == ScaleToFit ? !wideBox : wideBox;
    const float tw = matchWidth ? w : rnd(a * h);
    const float th = matchWidth ? rnd(w / a) : h;
    const float s = th / H;
    if (s <= 0)
        return;

    painter.save();
    painter.setCompositionMode(operation);
    painter.setOpacity(fraction);
    if (method == ScaleToFit) {
        const QRectF target(rect.x() + (w - tw) / 2, rect.y() + (h - th) / 2, tw, th);
        painter.drawImage(target, image, QRectF(image.rect()));
        painter.restore();
        return;
    }

    float ox = 0, oy = 0; // offsets of the visible part, y measured up from the bottom
    switch (method) {
    case CropKeepTopOrLeft:
        ox = matchWidth ? rnd((tw - w) / 2) : 0;
        oy = matchWidth ? rnd(th - h) : rnd((th - h) / 2);
        break;
    case CropKeepBottomOrRight:
        ox = matchWidth ? 0 : rnd(tw - w);
        oy = matchWidth ? 0 : rnd((th - h) / 2);
        break;
    default:
        ox = rnd((tw - w) / 2);
        oy = rnd((th - h) / 2);
        break;
    }
    const float sw = w / s;
    const float sh = h / s;
    const QRectF source(ox / s, H - oy / s - sh, sw, sh);
    painter.drawImage(rect, image, source);
    painter.restore();
}

QImage ImageCropOps::imageToFitSize(const QImage& image, const QSizeF& size, int method) {
    const QSize canvasSize(qMax(0, qRound(size.width())), qMax(0, qRound(size.height())));
    QImage canvas(canvasSize, QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull())
        return canvas;
    canvas.fill(Qt::transparent);
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    drawInRect(image, painter, QRectF(QPointF(0, 0), size), QPainter::CompositionMode_SourceOver,
               1.0, method);
    painter.end();
    return canvas;
}

QImage ImageCropOps::imageCroppedToFitSize(const QImage& image, const QSizeF& size) {
    return imageToFitSize(image, size, CropCentered);
}

QImage ImageCropOps::imageScaledToFitSize(const QImage& image, const QSizeF& size) {
    return imageToFitSize(image, size, ScaleToFit);
}
