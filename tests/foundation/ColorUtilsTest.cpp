// SPDX-License-Identifier: GPL-3.0-or-later
#include "ColorUtils.h"

#include <gtest/gtest.h>

TEST(ColorUtils, TextRoundTripWithOrWithoutHash) {
    const QColor a = ColorUtils::colorFromHexadecimalValue(QStringLiteral("#336699"));
    const QColor b = ColorUtils::colorFromHexadecimalValue(QStringLiteral("336699"));
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.alpha(), 255);
    EXPECT_EQ(ColorUtils::hexadecimalValue(a), "#336699");
}

TEST(ColorUtils, ExtremesAndLowerCase) {
    EXPECT_EQ(ColorUtils::hexadecimalValue(Qt::white), "#ffffff");
    EXPECT_EQ(ColorUtils::hexadecimalValue(Qt::black), "#000000");
    EXPECT_EQ(ColorUtils::hexadecimalValue(QColor(255, 128, 0, 10)), "#ff8000");
    EXPECT_EQ(ColorUtils::colorFromHexadecimalValue(QString()), QColor(0, 0, 0));
    EXPECT_TRUE(ColorUtils::hexadecimalValue(QColor()).isEmpty());
}
