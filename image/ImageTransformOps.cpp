// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageTransformOps.h"

#include "ImageBitmapOps.h"
#include "ImageTransform.h"

#include <QPainter>
#include <QTransform>

#include <cmath>

QImage ImageTransformOps::transform(const QImage& image, int transform) {
    switch (transform) {
    case ImageTransformRotate90CW:
        return imageRotatedByDegrees(image, 270);
    case ImageTransformRotate90CCW:
        return imageRotatedByDegrees(image, 90);
    case ImageTransformRotate180:
        return imageFlippedByX(image, true, true);
    case ImageTransformFlipHorizontal:
        return imageFlippedByX(image, true, false);
    case ImageTransformFlipVertical:
        return imageFlippedByX(image, false, true);
    default:
        return image;
    }
}

QImage ImageTransformOps::imageRotatedByDegrees(const QImage& image, double degrees) {
    const QSizeF size = ImageBitmapOps::maxSize(image);
    const double w = size.width();
    const double h = size.height();
    // Counter-clockwise on screen is a negative angle in Qt's y-down plane.
    QTransform rotation;
    rotation.rotate(-degrees);
    const QRectF box = rotation.mapRect(QRectF(0, 0, w, h));
    // Keep exact quarter turns exact: the bounding box of a 90 degree turn
    // must not grow by a rounding error.
    const int bw = qMax(0, int(std::ceil(box.width() - 1e-6)));
    const int bh = qMax(0, int(std::ceil(box.height() - 1e-6)));
    QImage canvas(bw, bh, QImage::Format_ARGB32_Premultiplied);
    if (canvas.isNull())
        return QImage(0, 0, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    if (image.isNull())
        return canvas;
    QPainter painter(&canvas);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.translate(bw / 2.0, bh / 2.0);
    painter.rotate(-degrees);
    painter.translate(-bw / 2.0, -bh / 2.0);
    painter.drawImage(QRectF((bw - w) / 2, (bh - h) / 2, w, h), image);
    painter.end();
    return canvas;
}

QImage ImageTransformOps::imageFlippedByX(const QImage& image, bool byX, bool byY) {
    if (image.isNull())
        return QImage(0, 0, QImage::Format_ARGB32_Premultiplied);
    return image.mirrored(byX, byY);
}

QImage ImageTransformOps::orientedUpright(const QImage& image, int orientation) {
    switch (orientation) {
    case 2:
        return image.mirrored(true, false);
    case 3:
        return image.mirrored(true, true);
    case 4:
        return image.mirrored(false, true);
    case 5: // transpose
        return image.transformed(QTransform().rotate(90)).mirrored(true, false);
    case 6:
        return image.transformed(QTransform().rotate(90));
    case 7: // transverse
        return image.transformed(QTransform().rotate(90)).mirrored(false, true);
    case 8:
        return image.transformed(QTransform().rotate(270));
    default:
        return image;
    }
}

QImage ImageTransformOps::transformedLikeJpeg(const QImage& image, int code) {
    // The orientation each transform code turns upright, by code.
    static constexpr int orientationUndoneBy[] = {1, 2, 4, 5, 7, 6, 3, 8};
    if (code < JXFORM_NONE || code > JXFORM_ROT_270)
        return image;
    return orientedUpright(image, orientationUndoneBy[code]);
}
