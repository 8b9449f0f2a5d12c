// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>

#include <cstdint>

// A bitmap with direct pixel access: rows top to bottom, pixels left to
// right, bytesPerPixel() bytes each. Its transform works by drawing when the
// format can be painted on and by copying pixels otherwise, with the same
// result. Objects are used by one thread at a time.
class BitmapImage : public QImage {
public:
    BitmapImage() = default;
    explicit BitmapImage(const QImage& image);
    // Decoded from the file; null when it cannot be read or decoded.
    explicit BitmapImage(const QString& path);
    static BitmapImage loadImageFromFile(const QString& path);

    // A deep copy with its own buffer.
    static BitmapImage initWithBitmapImage(const BitmapImage& other);
    // Zero-filled, with every format value of `other`, at its size or the
    // given one.
    static BitmapImage initLikeBitmapImage(const BitmapImage& other);
    static BitmapImage initLikeBitmapImage(const BitmapImage& other, std::uint64_t width,
                                           std::uint64_t height);

    QSizeF sizeF() const { return QSizeF(width(), height()); }
    QRectF bounds() const { return QRectF(0, 0, width(), height()); }
    int bytesPerPixel() const { return depth() / 8; }

    // Address of pixel (x, y). No bounds check: callers stay inside.
    uchar* dataAtX(int x, int y);
    const uchar* dataAtX(int x, int y) const;

    // A new bitmap of `size` (truncated to whole pixels) with this one drawn
    // stretched over it at high quality.
    BitmapImage scaleTo(const QSizeF& size) const;

    // Turned or mirrored by an ImageTransform code; width and height swap
    // for codes 0 and 1. Other codes give a copy.
    BitmapImage transform(int transform) const;
    // The same by copying pixels, for formats a painter cannot draw on.
    BitmapImage transformByCopying(int transform) const;
};
