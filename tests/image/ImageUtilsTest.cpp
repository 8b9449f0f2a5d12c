// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageUtils.h"
#include "JpegFixtures.h"
#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace JpegFixtures;

TEST(ImageUtils, SniffsJpegAndPngBySignatureWhenTheNameSaysNothing) {
    QTemporaryDir dir;
    const QString disguised = dir.filePath(QStringLiteral("a.dat"));
    ASSERT_TRUE(TestFiles::write(disguised, encodeJpeg(quadrants(8, 8))));
    EXPECT_TRUE(ImageUtils::looksLikeJpeg(disguised));
    EXPECT_FALSE(ImageUtils::looksLikePng(disguised));
    const QString empty = dir.filePath(QStringLiteral("b.dat"));
    ASSERT_TRUE(TestFiles::write(empty, QByteArray()));
    EXPECT_FALSE(ImageUtils::looksLikeJpeg(empty));
    EXPECT_FALSE(ImageUtils::looksLikePng(empty));
    const QString png = dir.filePath(QStringLiteral("c.bin"));
    ASSERT_TRUE(TestFiles::write(png, QByteArray("\x89PNG", 4)));
    EXPECT_TRUE(ImageUtils::looksLikePng(png));
    const QString shortPng = dir.filePath(QStringLiteral("d.bin"));
    ASSERT_TRUE(TestFiles::write(shortPng, QByteArray("\x89PN", 3)));
    EXPECT_FALSE(ImageUtils::looksLikePng(shortPng));
    EXPECT_TRUE(ImageUtils::looksLikeJpeg(dir.filePath(QStringLiteral("missing.JPG"))));
    EXPECT_FALSE(ImageUtils::looksLikeJpeg(dir.filePath(QStringLiteral("missing.txt"))));
}

TEST(ImageUtils, ImageSizeIsTheStoredOne) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("s.jpg"));
    ExifOptions options;
    options.orientation = 6;
    ASSERT_TRUE(
        TestFiles::write(path, withExif(encodeJpeg(quadrants(64, 48)), exifPayload(options))));
    EXPECT_EQ(ImageUtils::getImageSize(path), QSize(64, 48));
    const QString broken = dir.filePath(QStringLiteral("broken.jpg"));
    ASSERT_TRUE(TestFiles::write(broken, QByteArray("\xFF\xD8\xFF\xE0", 4)));
    EXPECT_EQ(ImageUtils::getImageSize(broken), QSize(0, 0));
}

TEST(ImageUtils, CreationDateFromExifThenFileThenFallback) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("d.jpg"));
    ASSERT_TRUE(TestFiles::write(path, withExif(encodeJpeg(quadrants(16, 16)), exifPayload({}))));
    EXPECT_EQ(ImageUtils::getCreationDateForImage(path),
              QDateTime(QDate(2012, 5, 1), QTime(10, 0), Qt::LocalTime));

    const QString png = dir.filePath(QStringLiteral("p.png"));
    ASSERT_TRUE(quadrants(8, 8).save(png));
    const QDateTime fallback(QDate(2001, 1, 1), QTime(0, 0));
    const QDateTime fileDate = ImageUtils::getCreationDateForImage(png, fallback);
    EXPECT_NE(fileDate, fallback);
    EXPECT_LE(qAbs(fileDate.secsTo(QDateTime::currentDateTime())), 60);

    EXPECT_EQ(
        ImageUtils::getCreationDateForImage(dir.filePath(QStringLiteral("gone.png")), fallback),
        fallback);
    const QDateTime now =
        ImageUtils::getCreationDateForImage(dir.filePath(QStringLiteral("gone.png")));
    EXPECT_LE(qAbs(now.secsTo(QDateTime::currentDateTime())), 60);
}

TEST(ImageUtils, ThumbnailFromExifElseIcon) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.jpg"));
    ExifOptions options;
    options.thumbnail = encodeJpeg(quadrants(40, 30));
    ASSERT_TRUE(
        TestFiles::write(path, withExif(encodeJpeg(quadrants(16, 16)), exifPayload(options))));
    EXPECT_EQ(ImageUtils::getThumbnail(path).size(), QSize(40, 30));
    const QString text = dir.filePath(QStringLiteral("n.txt"));
    ASSERT_TRUE(TestFiles::write(text, "hello"));
    ImageUtils::getThumbnail(text); // an icon, or nothing on a bare system: must not fail
}
