// SPDX-License-Identifier: GPL-3.0-or-later
#include "LanczosScaler.h"

#include <QColor>
#include <QColorSpace>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct FormatCase {
    QImage::Format format;
    QImage::Format workedAs; // what the scaler hands back
};

class LanczosFormatTest : public ::testing::TestWithParam<FormatCase> {};

// A flat picture stays exactly flat through both passes: the weights add
// up to one, at the edges too.
TEST_P(LanczosFormatTest, FlatColourStaysFlatAtTheExactSize) {
    const FormatCase& c = GetParam();
    QImage image(97, 61, c.format);
    image.fill(QColor(200, 120, 40));
    image.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
    for (const QSize size : {QSize(31, 20), QSize(250, 130), QSize(97, 7), QSize(1, 1)}) {
        const QImage scaled = LanczosScaler::scaled(image, size);
        ASSERT_EQ(scaled.size(), size);
        EXPECT_EQ(scaled.format(), c.workedAs);
        EXPECT_EQ(scaled.colorSpace(), image.colorSpace());
        for (int y = 0; y < size.height(); y += 3)
            for (int x = 0; x < size.width(); x += 3)
                ASSERT_EQ(scaled.pixel(x, y), image.pixel(0, 0)) << x << "," << y;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Formats, LanczosFormatTest,
    ::testing::Values(FormatCase{QImage::Format_RGB888, QImage::Format_RGB888},
                      FormatCase{QImage::Format_RGB32, QImage::Format_RGB888},
                      FormatCase{QImage::Format_Grayscale8, QImage::Format_Grayscale8},
                      FormatCase{QImage::Format_Grayscale16, QImage::Format_Grayscale16},
                      FormatCase{QImage::Format_RGBA8888_Premultiplied,
                                 QImage::Format_RGBA8888_Premultiplied},
                      FormatCase{QImage::Format_ARGB32, QImage::Format_RGBA8888_Premultiplied},
                      FormatCase{QImage::Format_RGBA64, QImage::Format_RGBA64_Premultiplied},
                      FormatCase{QImage::Format_RGBX64, QImage::Format_RGBX64}));

// Every source pixel counts when reducing: fine stripes average to grey
// instead of aliasing into stripes of their own.
TEST(LanczosScalerTest, ReducingAveragesInsteadOfAliasing) {
    QImage stripes(300, 300, QImage::Format_Grayscale8);
    for (int y = 0; y < stripes.height(); ++y)
        for (int x = 0; x < stripes.width(); ++x)
            stripes.scanLine(y)[x] = (x % 2) ? 255 : 0;
    const QImage reduced = LanczosScaler::scaled(stripes, QSize(70, 70));
    // Away from the edges, where the kernel is cut short.
    for (int x = 2; x < reduced.width() - 2; ++x)
        EXPECT_NEAR(reduced.constScanLine(35)[x], 128, 6) << x;
}

// Ringing at a hard edge must not leave colour above its alpha.
TEST(LanczosScalerTest, PremultipliedResultsStayValid) {
    QImage image(64, 64, QImage::Format_RGBA8888_Premultiplied);
    image.fill(Qt::transparent);
    for (int y = 0; y < 64; ++y)
        for (int x = 32; x < 64; ++x)
            image.setPixelColor(x, y, QColor(255, 255, 255, 255));
    const QImage scaled = LanczosScaler::scaled(image, QSize(150, 150));
    for (int y = 0; y < scaled.height(); ++y) {
        const uchar* pixel = scaled.constScanLine(y);
        for (int x = 0; x < scaled.width(); ++x, pixel += 4)
            for (int c = 0; c < 3; ++c)
                ASSERT_LE(pixel[c], pixel[3]) << x << "," << y;
    }
    // The edge stays where it was.
    EXPECT_EQ(qAlpha(scaled.pixel(10, 75)), 0);
    EXPECT_EQ(qAlpha(scaled.pixel(140, 75)), 255);
}

} // namespace
