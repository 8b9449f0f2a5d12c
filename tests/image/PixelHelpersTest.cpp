// SPDX-License-Identifier: GPL-3.0-or-later
#include "BitmapImage.h"
#include "BitmapSaveOps.h"
#include "ImageBitmapOps.h"
#include "ImageCropOps.h"
#include "ImageTransformOps.h"
#include "JpegFixtures.h"
#include "TestFiles.h"

#include <QFileInfo>
#include <QImageReader>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace JpegFixtures;

namespace {

QImage noise(int w, int h, QImage::Format format) {
    QImage image(w, h, QImage::Format_ARGB32);
    QRandomGenerator random(42);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, random.generate() | 0xFF000000u);
    return image.convertToFormat(format);
}

int alphaAt(const QImage& image, int x, int y) {
    return qAlpha(image.pixel(x, y));
}

} // namespace

TEST(BitmapImage, TurnsByDrawingAndByCopyingAlike) {
    BitmapImage small(noise(3, 2, QImage::Format_RGB32));
    const BitmapImage turned = small.transform(0);
    ASSERT_EQ(turned.size(), QSize(2, 3));
    EXPECT_EQ(turned.pixel(0, 0), small.pixel(0, 1)); // top-left was bottom-left

    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_ARGB32,
                                  QImage::Format_RGB888, QImage::Format_Grayscale8}) {
        const BitmapImage source(noise(7, 5, format));
        for (int code = 0; code <= 5; ++code) {
            const BitmapImage drawn = source.transform(code);
            const BitmapImage copied = source.transformByCopying(code);
            EXPECT_EQ(drawn.format(), format);
            EXPECT_EQ(drawn, copied) << "format " << format << " code " << code;
        }
    }
    // A format no painter takes still turns.
    const BitmapImage indexed(
        noise(5, 3, QImage::Format_RGB32).convertToFormat(QImage::Format_Indexed8));
    EXPECT_EQ(indexed.transform(1), indexed.transformByCopying(1));
    EXPECT_EQ(indexed.transform(1).size(), QSize(3, 5));
}

TEST(BitmapImage, GeometryCopiesAndScaling) {
    BitmapImage source(noise(10, 6, QImage::Format_RGB888));
    EXPECT_EQ(source.bytesPerPixel(), 3);
    EXPECT_EQ(source.sizeF(), QSizeF(10, 6));
    EXPECT_EQ(source.bounds(), QRectF(0, 0, 10, 6));
    EXPECT_EQ(source.dataAtX(2, 1), source.bits() + source.bytesPerLine() + 6);

    const BitmapImage copy = BitmapImage::initWithBitmapImage(source);
    EXPECT_EQ(copy, source);
    EXPECT_NE(copy.constBits(), source.constBits());
    const BitmapImage like = BitmapImage::initLikeBitmapImage(source, 4, 9);
    EXPECT_EQ(like.size(), QSize(4, 9));
    EXPECT_EQ(like.format(), source.format());
    EXPECT_EQ(like.pixel(3, 8), qRgb(0, 0, 0));
    EXPECT_EQ(source.scaleTo(QSizeF(5.9, 3.2)).size(), QSize(5, 3));

    QTemporaryDir dir;
    EXPECT_TRUE(BitmapImage::loadImageFromFile(dir.filePath(QStringLiteral("none.png"))).isNull());
    const QString png = dir.filePath(QStringLiteral("s.png"));
    ASSERT_TRUE(source.save(png));
    EXPECT_EQ(BitmapImage(png).size(), QSize(10, 6));
}

TEST(ImageTransformOps, CodesRotationsAndFlips) {
    const QImage image = quadrants(40, 20);
    const QImage same = ImageTransformOps::transform(image, 7);
    EXPECT_EQ(same.cacheKey(), image.cacheKey());

    const QImage right = ImageTransformOps::transform(image, 0);
    ASSERT_EQ(right.size(), QSize(20, 40));
    EXPECT_EQ(right.pixelColor(15, 5), quadrantColor(0)); // top-left went to the top right
    const QImage left = ImageTransformOps::transform(image, 1);
    EXPECT_EQ(left.pixelColor(5, 35), quadrantColor(0));
    EXPECT_EQ(ImageTransformOps::transform(image, 2).pixelColor(35, 15), quadrantColor(0));
    EXPECT_EQ(ImageTransformOps::transform(image, 3).pixelColor(35, 5), quadrantColor(0));
    EXPECT_EQ(ImageTransformOps::transform(image, 4).pixelColor(5, 15), quadrantColor(0));

    const QImage tilted = ImageTransformOps::imageRotatedByDegrees(image, 45);
    EXPECT_EQ(tilted.size(), QSize(43, 43));
    EXPECT_EQ(alphaAt(tilted, 0, 0), 0);
    EXPECT_EQ(alphaAt(tilted, 21, 21), 255);
    EXPECT_TRUE(ImageTransformOps::imageFlippedByX(QImage(), true, false).isNull());
}

TEST(ImageCropOps, CropAndFitGeometry) {
    // A red ramp across 400 columns shows which column lands where.
    QImage ramp(400, 300, QImage::Format_RGB32);
    for (int x = 0; x < 400; ++x)
        for (int y = 0; y < 300; ++y)
            ramp.setPixel(x, y, qRgb(x * 255 / 399, y * 255 / 299, 0));
    const QImage cropped = ImageCropOps::imageCroppedToFitSize(ramp, QSizeF(100, 100));
    ASSERT_EQ(cropped.size(), QSize(100, 100));
    EXPECT_NEAR(qRed(cropped.pixel(0, 50)), 52 * 255 / 399, 3); // starts 51 points in
    EXPECT_NEAR(qRed(cropped.pixel(99, 50)), 350 * 255 / 399, 3);
    EXPECT_EQ(alphaAt(cropped, 0, 0), 255);

    const QImage fitted = ImageCropOps::imageScaledToFitSize(ramp, QSizeF(100, 100));
    ASSERT_EQ(fitted.size(), QSize(100, 100));
    EXPECT_EQ(alphaAt(fitted, 50, 5), 0);
    EXPECT_EQ(alphaAt(fitted, 50, 50), 255);
    EXPECT_EQ(alphaAt(fitted, 50, 95), 0);

    const QImage tall = ImageCropOps::imageScaledToFitSize(quadrants(300, 400), QSizeF(160, 120));
    EXPECT_EQ(alphaAt(tall, 30, 60), 0);
    EXPECT_EQ(alphaAt(tall, 40, 60), 255);
    EXPECT_EQ(alphaAt(tall, 119, 60), 255);
    EXPECT_EQ(alphaAt(tall, 130, 60), 0);

    // Methods 1 and 2 keep the top or the bottom of a tall image.
    const QImage keepTop = ImageCropOps::imageToFitSize(ramp.transformed(QTransform().rotate(90)),
                                                        QSizeF(100, 100), 1);
    const QImage keepBottom = ImageCropOps::imageToFitSize(
        ramp.transformed(QTransform().rotate(90)), QSizeF(100, 100), 2);
    EXPECT_LT(qRed(keepTop.pixel(50, 0)), 5);
    EXPECT_GT(qRed(keepBottom.pixel(50, 99)), 250);
    // ...and the left or the right of a wide one.
    EXPECT_LT(qRed(ImageCropOps::imageToFitSize(ramp, QSizeF(100, 100), 1).pixel(0, 50)), 5);
    EXPECT_GT(qRed(ImageCropOps::imageToFitSize(ramp, QSizeF(100, 100), 2).pixel(99, 50)), 250);
}

TEST(ImageBitmapOps, MaxSizeAndSavers) {
    EXPECT_EQ(ImageBitmapOps::maxSize(quadrants(30, 20)), QSizeF(30, 20));
    QTemporaryDir dir;
    const QString tiff = dir.filePath(QStringLiteral("a.tiff"));
    ASSERT_TRUE(TestFiles::write(tiff, QByteArray("II*\0", 4)));
    const QString out = dir.filePath(QStringLiteral("out"));
    EXPECT_FALSE(ImageBitmapOps::saveSameAs(quadrants(8, 8), tiff, out, 90));
    EXPECT_FALSE(QFileInfo::exists(out));

    const QString jpegSource = dir.filePath(QStringLiteral("a.jpg"));
    const QString pngSource = dir.filePath(QStringLiteral("a.png"));
    ASSERT_TRUE(ImageBitmapOps::saveSameAs(noise(64, 64, QImage::Format_RGB32), jpegSource,
                                           dir.filePath(QStringLiteral("q90")), 90.0));
    ASSERT_TRUE(ImageBitmapOps::saveSameAs(noise(64, 64, QImage::Format_RGB32), jpegSource,
                                           dir.filePath(QStringLiteral("q30")), 0.3));
    EXPECT_GT(QFileInfo(dir.filePath(QStringLiteral("q90"))).size(),
              QFileInfo(dir.filePath(QStringLiteral("q30"))).size());
    EXPECT_EQ(QImageReader(dir.filePath(QStringLiteral("q90"))).format(), "jpeg");
    ASSERT_TRUE(ImageBitmapOps::saveSameAs(quadrants(8, 8), pngSource, out, 90));
    EXPECT_EQ(QImageReader(out).format(), "png");
    EXPECT_FALSE(BitmapSaveOps::saveAsPng(QImage(), out));
}
