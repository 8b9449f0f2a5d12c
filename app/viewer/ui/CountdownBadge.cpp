// SPDX-License-Identifier: GPL-3.0-or-later
#include "CountdownBadge.h"

#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <cmath>

bool CountdownBadge::isShown(double fraction) {
    return std::abs(fraction) > 0.001;
}

void CountdownBadge::paint(QPainter& painter, const QRectF& square, double fraction) {
    if (!isShown(fraction))
        return;
    const double f = std::clamp(fraction, 0.0, 1.0);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);

    QColor shade(Qt::black);
    shade.setAlphaF(0.7f);
    QPainterPath rounded;
    rounded.addRoundedRect(square, 4, 4);
    painter.fillPath(rounded, shade);

    QColor white(Qt::white);
    white.setAlphaF(static_cast<float>(f * 0.9 + 0.1));
    const QRectF circle = square.adjusted(6, 6, -6, -6);
    painter.setPen(QPen(white, 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(circle);
    // From the top counter-clockwise, as far as the time left reaches.
    painter.setPen(Qt::NoPen);
    painter.setBrush(white);
    painter.drawPie(circle, 90 * 16, static_cast<int>(std::lround(f * 360 * 16)));
    painter.restore();
}

QImage CountdownBadge::image(double fraction, qreal devicePixelRatio) {
    const int pixels = static_cast<int>(std::ceil(side * devicePixelRatio));
    QImage image(pixels, pixels, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter, QRectF(0, 0, side, side), fraction);
    return image;
}
