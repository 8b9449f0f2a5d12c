// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QString>

// Colours as "#rrggbb" text, the form the settings store keeps them in.
namespace ColorUtils {

// "#" and three pairs of lower-case hex digits; alpha is ignored.
// Empty for an invalid colour.
QString hexadecimalValue(const QColor& color);

// Accepts the text with or without its leading "#"; opaque.
QColor colorFromHexadecimalValue(const QString& text);

} // namespace ColorUtils
