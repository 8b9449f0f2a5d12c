// SPDX-License-Identifier: GPL-3.0-or-later
#include "InfoOverlay.h"

#include "ColorUtils.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>

#include <cmath>

namespace {

constexpr int textFlags = Qt::AlignLeft | Qt::AlignTop;

} // namespace

QFont InfoOverlay::font() {
    QFont font = QGuiApplication::font();
    font.setPixelSize(12);
    return font;
}

QColor InfoOverlay::textColor() {
    return ColorUtils::colorFromHexadecimalValue(QStringLiteral("22cd29"));
}

QRectF InfoOverlay::box(const QString& text, double margin) {
    const QSizeF size =
        QFontMetricsF(font()).boundingRect(QRectF(0, 0, 1e6, 1e6), textFlags, text).size();
    return QRectF(0, 0, std::ceil(size.width() + 2 * margin),
                  std::ceil(size.height() + 2 * margin));
}

void InfoOverlay::paint(QPainter& painter, const QRectF& box, const QString& text, double margin) {
    QColor shade(Qt::black);
    shade.setAlphaF(0.7f);
    painter.save();
    painter.fillRect(box, shade);
    painter.setFont(font());
    painter.setPen(textColor());
    painter.drawText(box.adjusted(margin, margin, -margin, -margin), textFlags, text);
    painter.restore();
}

QImage InfoOverlay::image(const QString& text, double margin, qreal devicePixelRatio) {
    const QRectF area = box(text, margin);
    QImage image(static_cast<int>(std::ceil(area.width() * devicePixelRatio)),
                 static_cast<int>(std::ceil(area.height() * devicePixelRatio)),
                 QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(devicePixelRatio);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    paint(painter, area, text, margin);
    return image;
}
