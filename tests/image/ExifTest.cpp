// SPDX-License-Identifier: GPL-3.0-or-later
#include "Exif.h"
#include "ExifDateReader.h"
#include "JpegFixtures.h"
#include "TestFiles.h"

#include <QDir>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace JpegFixtures;

namespace {

QImage storedThumbnail(const QString& path) {
    Exif exif(path);
    if (!exif.hasExifData() || !exif.exifData()->data)
        return QImage();
    return QImage::fromData(
        QByteArrayView(exif.exifData()->data, qsizetype(exif.exifData()->size)));
}

QByteArray withoutApp1(const QByteArray& jpeg) {
    QByteArray out = jpeg.left(2);
    qsizetype o = 2;
    while (o + 4 <= jpeg.size() && uchar(jpeg[o]) == 0xFF && uchar(jpeg[o + 1]) != 0xDA) {
        const int length = (uchar(jpeg[o + 2]) << 8) | uchar(jpeg[o + 3]);
        if (uchar(jpeg[o + 1]) != 0xE1)
            out += jpeg.mid(o, length + 2);
        o += length + 2;
    }
    return out + jpeg.mid(o);
}

} // namespace

TEST(Exif, TagsAreFoundInIfdOrderAsLibexifRendersThem) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("e.jpg"));
    ExifOptions options;
    options.orientation = 6;
    ASSERT_TRUE(
        TestFiles::write(path, withExif(encodeJpeg(quadrants(16, 16)), exifPayload(options))));
    Exif exif(path);
    ASSERT_TRUE(exif.hasExifData());
    EXPECT_EQ(exif.getTagValue(271), QStringLiteral("Zentrovo"));
    EXPECT_EQ(exif.getTagValue(274), QStringLiteral("Right-top"));
    EXPECT_EQ(exif.getTagValue(33434), QStringLiteral("1/125 sec."));
    EXPECT_EQ(exif.getTagValue(36868), QStringLiteral("2012:05:01 10:00:00"));
    EXPECT_TRUE(exif.getTagValue(37386).isNull());
    EXPECT_TRUE(exif.getTagValue(-1).isNull());

    const QString png = dir.filePath(QStringLiteral("p.png"));
    ASSERT_TRUE(quadrants(8, 8).save(png));
    Exif none(png);
    EXPECT_FALSE(none.hasExifData());
    EXPECT_TRUE(none.getTagValue(271).isNull());
}

TEST(Exif, InvalidUtf8GivesNull) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("u.jpg"));
    ExifOptions options;
    options.make = QByteArray("Bad\xC3\x28");
    ASSERT_TRUE(
        TestFiles::write(path, withExif(encodeJpeg(quadrants(16, 16)), exifPayload(options))));
    Exif exif(path);
    EXPECT_TRUE(exif.getTagValue(271).isNull());
    EXPECT_EQ(exif.getTagValue(272), QStringLiteral("ZX-1"));
}

TEST(Exif, ParseExifDate) {
    EXPECT_EQ(Exif::parseExifDate(QStringLiteral("2012:05:01 10:00:00")),
              QDateTime(QDate(2012, 5, 1), QTime(10, 0), Qt::LocalTime));
    EXPECT_EQ(Exif::parseExifDate(QStringLiteral("1999:12:31 23:59:59")),
              QDateTime(QDate(1999, 12, 31), QTime(23, 59, 59), Qt::LocalTime));
    for (const char* text :
         {"", "2012-05-01 10:00:00", "0000:00:00 00:00:00", "2012:13:01 10:00:00",
          "2012:02:30 10:00:00", "2012:05:01 24:00:00", "2012:05:01 10:00:0x",
          "2012:05:01 10:00:00 ", " 2012:05:01 10:00:0", "+012:05:01 10:00:00"})
        EXPECT_FALSE(Exif::parseExifDate(QString::fromLatin1(text)).isValid()) << text;
    EXPECT_FALSE(Exif::parseExifDate(QString()).isValid());
}

// The quick read of a scan finds what the full read finds, or nothing (and
// the scan then reads the full way); never another date.
TEST(Exif, DigitizedDateFromTheHeadAgreesWithTheFullRead) {
    QTemporaryDir dir;
    const QByteArray pixels = encodeJpeg(quadrants(16, 16));
    ExifOptions little;
    little.littleEndian = true;
    ExifOptions undated;
    undated.dateTimeDigitized.clear();
    ExifOptions bulky; // a block that runs past the head
    bulky.userComment = QByteArray(8000, 'x');
    const QByteArray dated = withExif(pixels, exifPayload({}));
    const struct {
        const char* name;
        QByteArray file;
        qsizetype head;
        bool found;
    } cases[] = {
        {"big-endian", dated, 4096, true},
        {"little-endian after JFIF", withExif(pixels, exifPayload(little), true), 4096, true},
        {"cut inside the tags", dated, 40, false},
        {"no date", withExif(pixels, exifPayload(undated)), 4096, false},
        {"no EXIF", pixels, 4096, false},
        {"a block longer than the head", withExif(pixels, exifPayload(bulky)), 4096, true},
    };
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.name) + QStringLiteral(".jpg"));
        ASSERT_TRUE(TestFiles::write(path, c.file));
        const QByteArray head = c.file.left(c.head);
        const QDateTime quick = ExifDateReader::digitizedIn(std::span(
            reinterpret_cast<const std::uint8_t*>(head.constData()), size_t(head.size())));
        EXPECT_EQ(quick.isValid(), c.found) << c.name;
        if (quick.isValid()) {
            EXPECT_EQ(quick, Exif::parseExifDate(Exif(path).getTagValue(36868))) << c.name;
        }
    }
}

TEST(Exif, ThumbnailBoxesFollowTheImageShape) {
    QTemporaryDir dir;
    const struct {
        QSize image;
        QSize box;
    } cases[] = {{{400, 300}, {160, 120}},
                 {{300, 400}, {120, 160}},
                 {{200, 200}, {140, 140}},
                 {{4000, 48}, {160, 120}}};
    for (const auto& c : cases) {
        const QString path =
            dir.filePath(QStringLiteral("t%1x%2.jpg").arg(c.image.width()).arg(c.image.height()));
        ASSERT_TRUE(TestFiles::write(
            path,
            withExif(encodeJpeg(quadrants(c.image.width(), c.image.height())), exifPayload({}))));
        const QByteArray before = TestFiles::read(path);
        ASSERT_TRUE(Exif::updateExifThumbnail(path)) << c.image.width();
        const QImage thumbnail = storedThumbnail(path);
        EXPECT_EQ(thumbnail.size(), c.box);
        EXPECT_EQ(withoutApp1(TestFiles::read(path)), withoutApp1(before));
        EXPECT_EQ(Exif(path).getTagValue(271), QStringLiteral("Zentrovo"));
    }
    // A very wide image is letterboxed in its box.
    const QImage wide = storedThumbnail(dir.filePath(QStringLiteral("t4000x48.jpg")));
    EXPECT_LT(qGray(wide.pixel(40, 10)), 40); // bar
    const QRgb middle = wide.pixel(40, 59);   // two rows of red and blue
    EXPECT_GT(qRed(middle) + qBlue(middle), 150);
}

TEST(Exif, UpdateThumbnailLeavesBadFilesAlone) {
    QTemporaryDir dir;
    const QByteArray truncated =
        withExif(encodeJpeg(quadrants(64, 48)), exifPayload({})).chopped(300);
    const QByteArray noExif = encodeJpeg(quadrants(64, 48));
    int index = 0;
    for (const QByteArray& bytes : {truncated, noExif}) {
        const QString path = dir.filePath(QStringLiteral("b%1.jpg").arg(index++));
        ASSERT_TRUE(TestFiles::write(path, bytes));
        EXPECT_FALSE(Exif::updateExifThumbnail(path));
        EXPECT_EQ(TestFiles::read(path), bytes);
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(Exif, ExifThumbnailIsTurnedUprightAndBounded) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("o.jpg"));
    ExifOptions options;
    options.orientation = 6; // stored turned left: shows upright after a right turn
    options.thumbnail = encodeJpeg(quadrants(400, 300).transformed(QTransform().rotate(270)));
    ASSERT_TRUE(
        TestFiles::write(path, withExif(encodeJpeg(quadrants(16, 16)), exifPayload(options))));
    const QImage thumbnail = Exif::getExifThumbnail(path);
    EXPECT_EQ(thumbnail.size(), QSize(256, 192));
    EXPECT_TRUE(showsUprightQuadrants(thumbnail));

    const QString bare = dir.filePath(QStringLiteral("bare.jpg"));
    ASSERT_TRUE(TestFiles::write(bare, encodeJpeg(quadrants(16, 16))));
    EXPECT_TRUE(Exif::getExifThumbnail(bare).isNull());
}

TEST(Exif, TrimAndCopyRewriteOnlyTheExifSegment) {
    QTemporaryDir dir;
    const QString source = dir.filePath(QStringLiteral("s.jpg"));
    const QString target = dir.filePath(QStringLiteral("d.jpg"));
    ExifOptions options;
    options.orientation = 3;
    options.userComment = QByteArray(20000, 'x');
    ASSERT_TRUE(
        TestFiles::write(source, withExif(encodeJpeg(quadrants(16, 16)), exifPayload(options))));
    const QByteArray plain = encodeJpeg(quadrants(32, 32));
    ASSERT_TRUE(TestFiles::write(target, plain));

    ASSERT_TRUE(Exif::copyExifDataFromPath(source, target));
    EXPECT_EQ(Exif(target).getTagValue(274), QStringLiteral("Bottom-right"));
    EXPECT_EQ(withoutApp1(TestFiles::read(target)), plain);

    const qint64 before = QFileInfo(source).size();
    ASSERT_TRUE(Exif::trimExifData(source));
    EXPECT_LT(QFileInfo(source).size(), before - 19000);
    Exif trimmed(source);
    EXPECT_TRUE(trimmed.getTagValue(271).isNull());
    EXPECT_EQ(TestFiles::read(source).mid(2, 2), QByteArray::fromHex("FFE1"));

    // PNG files and sources without EXIF are left alone.
    const QString png = dir.filePath(QStringLiteral("p.png"));
    ASSERT_TRUE(quadrants(8, 8).save(png));
    const QByteArray pngBytes = TestFiles::read(png);
    EXPECT_FALSE(Exif::trimExifData(png));
    EXPECT_FALSE(Exif::copyExifDataFromPath(source, png));
    EXPECT_EQ(TestFiles::read(png), pngBytes);
    EXPECT_FALSE(Exif::copyExifDataFromPath(png, target));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 3);
}
