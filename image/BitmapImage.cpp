// SPDX-License-Identifier: GPL-3.0-or-later
#include "BitmapImage.h"

#include "ImageTransform.h"

#include <QColorSpace>
#include <QImageReader>
#include <QPainter>

#include <cstring>
#include <limits>

BitmapImage::BitmapImage(const QImage& image)
    : QImage(image) {}

BitmapImage::BitmapImage(const QString& path) {
    QImageReader reader(path);
    QImage decoded;
    if (reader.read(&decoded))
        QImage::operator=(decoded);
}

BitmapImage BitmapImage::loadImageFromFile(const QString& path) {
    return BitmapImage(path);
}

BitmapImage BitmapImage::initWithBitmapImage(const BitmapImage& other) {
    return BitmapImage(other.copy());
}

BitmapImage BitmapImage::initLikeBitmapImage(const BitmapImage& other) {
    return initLikeBitmapImage(other, std::uint64_t(qMax(0, other.width())),
                               std::uint64_t(qMax(0, other.height())));
}

BitmapImage BitmapImage::initLikeBitmapImage(const BitmapImage& other, std::uint64_t width,
                                             std::uint64_t height) {
    constexpr std::uint64_t limit = std::numeric_limits<int>::max();
    if (other.isNull() || width > limit || height > limit)
        return BitmapImage();
    QImage like(int(width), int(height), other.format());
    if (like.isNull())
        return BitmapImage();
    like.fill(0);
    like.setColorTable(other.colorTable());
    like.setDotsPerMeterX(other.dotsPerMeterX());
    like.setDotsPerMeterY(other.dotsPerMeterY());
    like.setColorSpace(other.colorSpace());
    return BitmapImage(like);
}

uchar* BitmapImage::dataAtX(int x, int y) {
    return bits() + qsizetype(y) * bytesPerLine() + qsizetype(x) * bytesPerPixel();
}

const uchar* BitmapImage::dataAtX(int x, int y) const {
    return constBits() + qsizetype(y) * bytesPerLine() + qsizetype(x) * bytesPerPixel();
}

BitmapImage BitmapImage::scaleTo(const QSizeF& size) const {
    const qreal w = qMax<qreal>(0, size.width());
    const qreal h = qMax<qreal>(0, size.height());
    BitmapImage scaled = initLikeBitmapImage(*this, std::uint64_t(w), std::uint64_t(h));
    if (scaled.isNull())
        return scaled;
    QPainter painter;
    if (!painter.begin(&scaled))
        return BitmapImage(
            this->scaled(scaled.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                .convertToFormat(format()));
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
    painter.drawImage(scaled.rect(), *this);
    painter.end();
    return scaled;
}

BitmapImage BitmapImage::transform(int transform) const {
    const bool turns =
        transform == ImageTransformRotate90CW || transform == ImageTransformRotate90CCW;
    const int w = turns ? height() : width();
    const int h = turns ? width() : height();
    BitmapImage turned =
        initLikeBitmapImage(*this, std::uint64_t(qMax(0, w)), std::uint64_t(qMax(0, h)));
    if (turned.isNull())
        return turned;
    QPainter painter;
    if (bytesPerPixel() == 0 || !painter.begin(&turned))
        return transformByCopying(transform);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.translate(w / 2.0, h / 2.0);
    switch (transform) {
    case ImageTransformRotate90CW:
        painter.rotate(90);
        break;
    case ImageTransformRotate90CCW:
        painter.rotate(270);
        break;
    case ImageTransformRotate180:
        painter.scale(-1, -1);
        break;
    case ImageTransformFlipHorizontal:
        painter.scale(-1, 1);
        break;
    case ImageTransformFlipVertical:
        painter.scale(1, -1);
        break;
    default:
        break;
    }
    painter.drawImage(QPointF(-width() / 2.0, -height() / 2.0), *this);
    painter.end();
    return turned;
}

BitmapImage BitmapImage::transformByCopying(int transform) const {
    const bool turns =
        transform == ImageTransformRotate90CW || transform == ImageTransformRotate90CCW;
    const int W = width();
    const int H = height();
    BitmapImage turned = initLikeBitmapImage(*this, std::uint64_t(qMax(0, turns ? H : W)),
                                             std::uint64_t(qMax(0, turns ? W : H)));
    const int bpp = bytesPerPixel();
    if (turned.isNull() || bpp == 0)
        return turned;
    for (int y = 0; y < turned.height(); ++y) {
        for (int x = 0; x < turned.width(); ++x) {
            int sx = x, sy = y;
            switch (transform) {
            case ImageTransformRotate90CW:
                sx = y;
                sy = H - 1 - x;
                break;
            case ImageTransformRotate90CCW:
                sx = W - 1 - y;
                sy = x;
                break;
            case ImageTransformRotate180:
                sx = W - 1 - x;
                sy = H - 1 - y;
                break;
            case ImageTransformFlipHorizontal:
                sx = W - 1 - x;
                break;
            case ImageTransformFlipVertical:
                sy = H - 1 - y;
                break;
            default:
                break;
            }
            std::memcpy(turned.dataAtX(x, y), dataAtX(sx, sy), std::size_t(bpp));
        }
    }
    return turned;
}
