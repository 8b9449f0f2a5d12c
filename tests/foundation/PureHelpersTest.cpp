// SPDX-License-Identifier: GPL-3.0-or-later
#include "DateUtils.h"
#include "DictionarySorting.h"
#include "MultiResolutionImage.h"
#include "MutableArrayUtils.h"
#include "NativePath.h"
#include "OpenedPath.h"

#include <QFile>
#include <QTemporaryDir>

#include <QHash>
#include <QIcon>
#include <QPixmap>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

QImage filled(int width, int height, QRgb colour) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

} // namespace

TEST(NativePath, EveryByteSurvivesDecodingAndEncoding) {
    const QByteArray names[] = {
        "plain.jpg",
        "caf\xc3\xa9.jpg",
        "caf\xe9.jpg",
        "\xff\xfe",
        "a\xc3",
        "\xed\xa0\x80 surrogate",
        "\xf4\x90\x80\x80 too high",
        "\xe2\x82 cut short",
        "\xf0\x9f\x98\x80 emoji",
    };
    for (const QByteArray& bytes : names) {
        const QString text = NativePath::decode(bytes);
        EXPECT_EQ(NativePath::encode(text), bytes) << bytes.toHex().constData();
        EXPECT_EQ(NativePath::needsBytes(text), QString::fromUtf8(bytes).toUtf8() != bytes)
            << bytes.toHex().constData();
    }
    EXPECT_EQ(NativePath::decode("caf\xc3\xa9"), QString::fromUtf8("caf\xc3\xa9"));
}

TEST(OpenedPath, OpensANameQtCannotEncode) {
    QTemporaryDir dir;
    const QByteArray bytes = QFile::encodeName(dir.path()) + "/caf\xe9.txt";
    FILE* file = std::fopen(bytes.constData(), "w");
    ASSERT_NE(file, nullptr);
    std::fputs("bytes", file);
    std::fclose(file);
    const QString escaped = NativePath::decode(bytes);
    {
        const OpenedPath opened(escaped);
        QFile reader(opened.path());
        ASSERT_TRUE(reader.open(QIODevice::ReadOnly));
        EXPECT_EQ(reader.readAll(), "bytes");
    }
    EXPECT_TRUE(OpenedPath(escaped + "x").path().isEmpty());
    EXPECT_EQ(OpenedPath(dir.path()).path(), dir.path());
    std::remove(bytes.constData());
}

TEST(DateUtils, TruncatesToLocalMidnightOfTheSameDay) {
    const QDateTime evening(QDate(2024, 3, 9), QTime(23, 59, 58), Qt::LocalTime);
    const QDateTime truncated = DateUtils::dateByTruncatingTime(evening);
    EXPECT_EQ(truncated.date(), QDate(2024, 3, 9));
    EXPECT_EQ(truncated.time(), QTime(0, 0));
    // A UTC date is truncated on the local calendar, not the UTC one.
    const QDateTime utc = evening.toUTC();
    EXPECT_EQ(DateUtils::dateByTruncatingTime(utc), truncated);
    EXPECT_FALSE(DateUtils::dateByTruncatingTime(QDateTime()).isValid());
}

TEST(MutableArrayUtils, PopReturnsTheLastAndNothingWhenEmpty) {
    QList<QString> stack;
    EXPECT_FALSE(MutableArrayUtils::pop(stack).has_value());
    EXPECT_TRUE(stack.isEmpty());
    MutableArrayUtils::push(stack, QStringLiteral("a"));
    MutableArrayUtils::push(stack, QStringLiteral("b"));
    EXPECT_EQ(MutableArrayUtils::pop(stack), QStringLiteral("b"));
    EXPECT_EQ(stack, QList<QString>{QStringLiteral("a")});
}

TEST(DictionarySorting, SortsTheKeysOfAnUnorderedMap) {
    QHash<QString, int> map{{"pear", 1}, {"apple", 2}, {"fig", 3}, {"Banana", 4}};
    EXPECT_EQ(DictionarySorting::sortedKeys(map),
              (QList<QString>{"Banana", "apple", "fig", "pear"}));
}

TEST(MultiResolutionImage, LargestRepresentationByPixelCountFirstWinsATie) {
    MultiResolutionImage image;
    EXPECT_TRUE(image.largestRepresentation().isNull());
    image.addRepresentation(filled(512, 512, 0xff0000ff));
    image.addRepresentation(filled(1024, 1024, 0xff00ff00));
    image.addRepresentation(filled(2048, 100, 0xffff0000)); // wider, fewer pixels
    EXPECT_EQ(image.largestRepresentation().size(), QSize(1024, 1024));

    MultiResolutionImage tie;
    tie.addRepresentation(filled(100, 100, 0xff111111));
    tie.addRepresentation(filled(100, 100, 0xff222222));
    tie.addRepresentation(filled(50, 200, 0xff333333)); // same count, later
    EXPECT_EQ(tie.largestRepresentation().pixel(0, 0), 0xff111111u);
}

TEST(MultiResolutionImage, SelectLargestKeepsOnlyItAndTakesItsSize) {
    MultiResolutionImage image;
    image.addRepresentation(filled(16, 16, 0xff000000));
    image.addRepresentation(filled(64, 48, 0xffffffff));
    image.setSize(QSizeF(16, 16));
    image.selectLargestRepresentation();
    ASSERT_EQ(image.representations().size(), 1);
    EXPECT_EQ(image.representations().first().size(), QSize(64, 48));
    EXPECT_EQ(image.size(), QSizeF(64, 48));
}

TEST(MultiResolutionImage, FromIconTakesEveryAvailableSize) {
    QIcon icon;
    for (int side : {16, 48, 32}) {
        QPixmap pixmap(side, side);
        pixmap.fill(Qt::red);
        icon.addPixmap(pixmap);
    }
    const MultiResolutionImage image = MultiResolutionImage::fromIcon(icon);
    EXPECT_EQ(image.representations().size(), 3);
    EXPECT_EQ(image.largestRepresentation().size(), QSize(48, 48));
    EXPECT_EQ(image.size(), QSizeF(48, 48));
}
