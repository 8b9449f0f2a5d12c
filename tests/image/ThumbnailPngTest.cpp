// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThumbnailPng.h"
#include "JpegFixtures.h"

#include <QBuffer>
#include <QImageWriter>

#include <gtest/gtest.h>

namespace {

std::span<const std::uint8_t> bytesOf(const QByteArray& data) {
    return {reinterpret_cast<const std::uint8_t*>(data.constData()), std::size_t(data.size())};
}

QByteArray qtPng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return bytes;
}

// A picture no filter predicts exactly, with and without alpha.
QImage noisy(bool alpha) {
    QImage image(37, 23, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y,
                           qRgba((x * 7 + y * 13) % 256, (x * x + y) % 256, (y * 31) % 256,
                                 alpha ? (x * 11) % 256 : 255));
    return image;
}

} // namespace

TEST(ThumbnailPng, OwnAndQtWrittenEntriesReadBackExactlyWithTheirTexts) {
    for (const bool alpha : {false, true}) {
        const QImage original = noisy(alpha);
        const QByteArray ours = ThumbnailPng::encode(
            original, {{"Thumb::URI", "file:///x%20y.jpg"}, {"Thumb::MTime", "42"}});
        const QImage decoded = ThumbnailPng::decode(bytesOf(ours), 64);
        ASSERT_FALSE(decoded.isNull()) << alpha;
        EXPECT_EQ(decoded, original) << alpha;
        EXPECT_EQ(decoded.text("Thumb::URI"), "file:///x%20y.jpg");
        EXPECT_EQ(decoded.text("Thumb::MTime"), "42");
        // Qt's reader agrees on our files; we agree on Qt's (all filters,
        // and long texts compressed).
        EXPECT_EQ(QImage::fromData(ours, "png").convertToFormat(original.format()), original);
        QImage withText = original;
        withText.setText("Thumb::URI", QString(300, QLatin1Char('u')));
        const QImage fromQt = ThumbnailPng::decode(bytesOf(qtPng(withText)), 64);
        EXPECT_EQ(fromQt.convertToFormat(original.format()), original) << alpha;
        EXPECT_EQ(fromQt.text("Thumb::URI"), QString(300, QLatin1Char('u')));
    }
}

TEST(ThumbnailPng, LeavesWhatItDoesNotHandleToQt) {
    const QImage rgb = JpegFixtures::quadrants(16, 16);
    const QByteArray ours = ThumbnailPng::encode(rgb, {});
    EXPECT_TRUE(ThumbnailPng::decode(bytesOf(ours), 15).isNull()); // larger than asked
    const QImage others[] = {rgb.convertToFormat(QImage::Format_Indexed8),
                             rgb.convertToFormat(QImage::Format_Grayscale8),
                             rgb.convertToFormat(QImage::Format_RGBA64)};
    for (const QImage& image : others)
        EXPECT_TRUE(ThumbnailPng::decode(bytesOf(qtPng(image)), 64).isNull()) << image.format();
    EXPECT_TRUE(ThumbnailPng::decode(bytesOf(ours.left(ours.size() - 20)), 64).isNull());
    EXPECT_TRUE(ThumbnailPng::decode({}, 64).isNull());
}
