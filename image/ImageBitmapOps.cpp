// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageBitmapOps.h"

#include "BitmapSaveOps.h"

QSizeF ImageBitmapOps::maxSize(const QImage& image) {
    if (image.width() >= 1 && image.height() >= 1)
        return QSizeF(image.size());
    return image.deviceIndependentSize();
}

QImage ImageBitmapOps::getBitmap(const QImage& image) {
    switch (image.format()) {
    case QImage::Format_Invalid:
        return QImage();
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB:
    case QImage::Format_Indexed8:
        return image.convertToFormat(image.hasAlphaChannel() ? QImage::Format_ARGB32
                                                             : QImage::Format_RGB32);
    default:
        return image;
    }
}

bool ImageBitmapOps::saveAsJpeg(const QImage& image, const QString& path, double jpegCompression) {
    return BitmapSaveOps::saveAsJpeg(getBitmap(image), path, jpegCompression);
}

bool ImageBitmapOps::saveAsPng(const QImage& image, const QString& path) {
    return BitmapSaveOps::saveAsPng(getBitmap(image), path);
}

bool ImageBitmapOps::saveSameAs(const QImage& image, const QString& source, const QString& target,
                                double jpegCompression) {
    return BitmapSaveOps::saveSameAs(getBitmap(image), source, target, jpegCompression);
}
