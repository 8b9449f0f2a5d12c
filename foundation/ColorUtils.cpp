// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColorUtils.h"

QString ColorUtils::hexadecimalValue(const QColor& color) {
    if (!color.isValid())
        return {};
    const QColor rgb = color.toRgb();
    // Just below 256, so that 1.0 maps to 255 and every step gets its share.
    const auto channel = [](float component) {
        return static_cast<int>(component * 255.99998474121094);
    };
    return QString::asprintf("#%02x%02x%02x", channel(rgb.redF()), channel(rgb.greenF()),
                             channel(rgb.blueF()));
}

QColor ColorUtils::colorFromHexadecimalValue(const QString& text) {
    QString digits = text.trimmed();
    if (digits.startsWith(QLatin1Char('#')))
        digits.remove(0, 1);
    bool ok = false;
    uint value = digits.toUInt(&ok, 16);
    if (!ok)
        value = 0;
    return QColor::fromRgb((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}
