// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteCountFormatter.h"

#include <gtest/gtest.h>

#include <limits>

namespace {
QString text(qint64 count, int style = 0) {
    return ByteCountFormatter::stringFromByteCount(count, QStringLiteral("B"), style);
}
} // namespace

TEST(ByteCountFormatter, UnitBoundariesAndDecimals) {
    EXPECT_EQ(text(0), "0 B");
    EXPECT_EQ(text(512), "512 B");
    EXPECT_EQ(text(1023), "1023 B");
    EXPECT_EQ(text(1024), "1 KB");
    EXPECT_EQ(text(1536), "2 KB");
    EXPECT_EQ(text(1572864), "1.5 MB");
    EXPECT_EQ(text(1024LL * 1024 * 1024 * 3), "3.0 GB");
}

TEST(ByteCountFormatter, DecimalStyleDividesByThousand) {
    EXPECT_EQ(text(999, ByteCountFormatter::DecimalCountStyle), "999 B");
    EXPECT_EQ(text(1000, ByteCountFormatter::DecimalCountStyle), "1 KB");
    EXPECT_EQ(text(1000, 0), "1000 B");
    EXPECT_EQ(text(2500000, ByteCountFormatter::DecimalCountStyle), "2.5 MB");
}

TEST(ByteCountFormatter, LargestCountStopsAtItsUnit) {
    EXPECT_EQ(text(std::numeric_limits<qint64>::max()), "8.0 EB");
    EXPECT_EQ(ByteCountFormatter::stringFromByteCount(2048, QString(), 0), "2 K");
}
