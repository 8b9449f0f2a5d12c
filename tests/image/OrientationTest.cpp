// SPDX-License-Identifier: GPL-3.0-or-later
#include "Exif.h"
#include "ExifOrient.h"
#include "ImageTransform.h"
#include "ImageUtils.h"
#include "JpegFixtures.h"
#include "JpegTransform.h"
#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace JpegFixtures;

namespace {

QImage decode(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    return reader.read();
}

int readOrientation(const QString& path) {
    unsigned char value = 0;
    return exif_orient(QFile::encodeName(path).constData(), &value) ? value : -1;
}

QImage exifThumbnailAsStored(const QString& path) {
    Exif exif(path);
    if (!exif.hasExifData() || !exif.exifData()->data)
        return QImage();
    return QImage::fromData(
        QByteArrayView(exif.exifData()->data, qsizetype(exif.exifData()->size)));
}

QStringList hiddenFiles(const QString& dir) {
    QStringList hidden;
    for (const QString& name : QDir(dir).entryList(QDir::Files | QDir::Hidden))
        if (name.startsWith(QLatin1Char('.')))
            hidden.append(name);
    return hidden;
}

} // namespace

TEST(TransformCodes, MapImageTransformsAndOrientations) {
    EXPECT_EQ(imageTransformToJpegTransform(ImageTransformRotate90CW), JXFORM_ROT_90);
    EXPECT_EQ(imageTransformToJpegTransform(ImageTransformRotate90CCW), JXFORM_ROT_270);
    EXPECT_EQ(imageTransformToJpegTransform(ImageTransformRotate180), JXFORM_ROT_180);
    EXPECT_EQ(imageTransformToJpegTransform(ImageTransformFlipHorizontal), JXFORM_FLIP_H);
    EXPECT_EQ(imageTransformToJpegTransform(ImageTransformFlipVertical), JXFORM_FLIP_V);
    EXPECT_EQ(imageTransformToJpegTransform(9), JXFORM_NONE);
    const int expected[] = {JXFORM_NONE,    JXFORM_NONE,      JXFORM_FLIP_H, JXFORM_ROT_180,
                            JXFORM_FLIP_V,  JXFORM_TRANSPOSE, JXFORM_ROT_90, JXFORM_TRANSVERSE,
                            JXFORM_ROT_270, JXFORM_NONE};
    for (int orientation = 0; orientation <= 9; ++orientation)
        EXPECT_EQ(exifOrientToJpegTransform(orientation), expected[orientation]) << orientation;
}

TEST(AutoLosslessRotate, AllEightOrientationsEndUpright) {
    QTemporaryDir dir;
    const QImage upright = quadrants(64, 48);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const QString path = dir.filePath(QStringLiteral("o%1.jpg").arg(orientation));
        ASSERT_TRUE(TestFiles::write(path, orientedJpeg(upright, orientation)));
        const QString tagsBefore = Exif(path).getTagValue(271) + Exif(path).getTagValue(272) +
                                   Exif(path).getTagValue(33434);
        const QDateTime dateBefore = ImageUtils::getCreationDateForImage(path);
        const QByteArray bytesBefore = TestFiles::read(path);

        ASSERT_TRUE(ImageUtils::autoLosslessRotateImage(path));

        const QImage pixels = decode(path);
        EXPECT_EQ(pixels.size(), upright.size());
        EXPECT_TRUE(showsUprightQuadrants(pixels));
        EXPECT_EQ(readOrientation(path), 1);
        if (orientation == 1) {
            EXPECT_EQ(TestFiles::read(path), bytesBefore); // never rewritten
        } else {
            EXPECT_EQ(exifThumbnailAsStored(path).size(), QSize(160, 120));
            EXPECT_TRUE(showsUprightQuadrants(exifThumbnailAsStored(path)));
        }
        Exif after(path);
        EXPECT_EQ(after.getTagValue(271) + after.getTagValue(272) + after.getTagValue(33434),
                  tagsBefore);
        EXPECT_EQ(ImageUtils::getCreationDateForImage(path), dateBefore);
    }
    EXPECT_TRUE(hiddenFiles(dir.path()).isEmpty())
        << hiddenFiles(dir.path()).join(' ').toStdString();
}

TEST(AutoLosslessRotate, LittleEndianExifWithJfifFirst) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("le.jpeg"));
    const QImage stored = quadrants(64, 48).transformed(QTransform().rotate(270));
    ExifOptions options;
    options.orientation = 6;
    options.littleEndian = true;
    ASSERT_TRUE(TestFiles::write(
        path, withExif(encodeJpeg(stored), exifPayload(options), /*keepJfif=*/true)));
    ASSERT_EQ(readOrientation(path), 6);
    ASSERT_TRUE(ImageUtils::autoLosslessRotateImage(path));
    EXPECT_TRUE(showsUprightQuadrants(decode(path)));
    EXPECT_EQ(readOrientation(path), 1);
}

TEST(AutoLosslessRotate, RefusesWithoutTouchingTheFile) {
    QTemporaryDir dir;
    ExifOptions rotated;
    rotated.orientation = 6;
    struct Case {
        const char* name;
        QByteArray bytes;
        bool result;
    };
    const Case cases[] = {
        {"no-exif.jpg", encodeJpeg(quadrants(64, 48)), false},
        {"no-orientation.jpg", withExif(encodeJpeg(quadrants(64, 48)), exifPayload({})), false},
        // 40 is no multiple of the 16-pixel MCU height of 4:2:0.
        {"unaligned.jpg", withExif(encodeJpeg(quadrants(64, 40)), exifPayload(rotated)), false},
        {"tiny.jpg", withExif(encodeJpeg(quadrants(4, 4)), exifPayload(rotated)), false},
        {"not-a-jpeg.png", QByteArray("\x89PNG\r\n\x1a\n", 8), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir.filePath(QString::fromLatin1(c.name));
        ASSERT_TRUE(TestFiles::write(path, c.bytes));
        EXPECT_EQ(ImageUtils::autoLosslessRotateImage(path), c.result);
        EXPECT_EQ(TestFiles::read(path), c.bytes);
    }
    EXPECT_TRUE(hiddenFiles(dir.path()).isEmpty());
}

TEST(JpegTransform, RefusesPartialMcusForEveryCode) {
    QTemporaryDir dir;
    const QString unaligned = dir.filePath(QStringLiteral("a.jpg"));
    ASSERT_TRUE(TestFiles::write(unaligned, encodeJpeg(quadrants(64, 50), 2)));
    for (int code = JXFORM_NONE; code <= JXFORM_ROT_270; ++code)
        EXPECT_EQ(jpegTransform(QFile::encodeName(unaligned).constData(), code), nullptr) << code;

    // 4:4:4 and gray have 8 x 8 MCUs: 64 x 40 is aligned there.
    for (int subsampling : {0, 3}) {
        const QString path = dir.filePath(QStringLiteral("s%1.jpg").arg(subsampling));
        ASSERT_TRUE(TestFiles::write(path, encodeJpeg(quadrants(64, 40), subsampling)));
        char* result = jpegTransform(QFile::encodeName(path).constData(), JXFORM_ROT_90);
        ASSERT_NE(result, nullptr);
        const QString out = QString::fromUtf8(result);
        std::free(result);
        EXPECT_EQ(QFileInfo(out).absolutePath(), dir.path()); // beside the source
        EXPECT_EQ(decode(out).size(), QSize(40, 64));
        QFile::remove(out);
    }
    EXPECT_EQ(jpegTransform(nullptr, JXFORM_ROT_90), nullptr);
    EXPECT_EQ(jpegTransform(QFile::encodeName(dir.filePath("missing.jpg")).constData(), 1),
              nullptr);
}

TEST(JpegTransform, RefusesAFileClaimingGigapixels) {
    // A small file whose frame header claims 65520 x 65520 pixels: refused
    // before the transform would allocate its coefficients.
    QByteArray bytes = encodeJpeg(quadrants(64, 48), 2);
    const qsizetype sof = bytes.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    bytes.replace(sof + 5, 4, QByteArray("\xFF\xF0\xFF\xF0", 4));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.jpg"));
    ASSERT_TRUE(TestFiles::write(path, bytes));
    EXPECT_EQ(jpegTransform(QFile::encodeName(path).constData(), JXFORM_ROT_90), nullptr);
    EXPECT_EQ(TestFiles::read(path), bytes);
}

TEST(JpegTransform, CopiesEveryMarker) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("m.jpg"));
    QByteArray bytes = orientedJpeg(quadrants(64, 48), 3);
    bytes.insert(
        2, segment(0xFE, "a comment").append(segment(0xE2, QByteArray("ICC_PROFILE\0fake", 16))));
    ASSERT_TRUE(TestFiles::write(path, bytes));
    char* result = jpegTransform(QFile::encodeName(path).constData(), JXFORM_ROT_180);
    ASSERT_NE(result, nullptr);
    const QByteArray out = TestFiles::read(QString::fromUtf8(result));
    std::free(result);
    EXPECT_TRUE(out.contains(segment(0xFE, "a comment")));
    EXPECT_TRUE(out.contains(segment(0xE2, QByteArray("ICC_PROFILE\0fake", 16))));
    const qsizetype exifAt = bytes.indexOf("Exif\0\0");
    EXPECT_TRUE(out.contains(bytes.mid(exifAt - 4, 200)));
}

TEST(TransformImage, LosslessForAlignedJpeg) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.jpg"));
    ExifOptions options;
    options.orientation = 1;
    ASSERT_TRUE(TestFiles::write(
        path, withExif(encodeJpeg(quadrants(64, 48).transformed(QTransform().rotate(270))),
                       exifPayload(options))));
    ASSERT_TRUE(ImageUtils::transformImage(path, ImageTransformRotate90CW, 90.0));
    EXPECT_TRUE(showsUprightQuadrants(decode(path)));
    EXPECT_EQ(readOrientation(path), 1);
    EXPECT_EQ(Exif(path).getTagValue(271), QStringLiteral("Zentrovo"));
}

TEST(TransformImage, ReencodesWhenLosslessIsRefusedAndKeepsExif) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("odd.jpg"));
    ExifOptions options;
    options.orientation = 8;
    // Stored turned left (64 x 40 upright -> 40 x 64 stored, not MCU aligned).
    ASSERT_TRUE(TestFiles::write(
        path, withExif(encodeJpeg(quadrants(64, 40).transformed(QTransform().rotate(270))),
                       exifPayload(options))));
    EXPECT_FALSE(ImageUtils::autoLosslessRotateImage(path));
    ASSERT_TRUE(ImageUtils::transformImage(path, ImageTransformRotate90CW, 90.0));
    const QImage pixels = decode(path);
    EXPECT_EQ(pixels.size(), QSize(64, 40));
    EXPECT_TRUE(showsUprightQuadrants(pixels));
    EXPECT_EQ(readOrientation(path), 1);
    EXPECT_EQ(Exif(path).getTagValue(272), QStringLiteral("ZX-1"));
    EXPECT_EQ(exifThumbnailAsStored(path).size(), QSize(160, 120));
    EXPECT_TRUE(hiddenFiles(dir.path()).isEmpty());
}

TEST(TransformImage, PngIsTransformedExactlyAndOthersAreRefused) {
    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("p.png"));
    QImage image(3, 2, QImage::Format_RGB32);
    for (int i = 0; i < 6; ++i)
        image.setPixel(i % 3, i / 3, qRgb(i * 40, 0, 0));
    ASSERT_TRUE(image.save(png));
    ASSERT_TRUE(ImageUtils::transformImage(png, ImageTransformRotate90CW, 90.0));
    const QImage turned = decode(png);
    ASSERT_EQ(turned.size(), QSize(2, 3));
    EXPECT_EQ(turned.pixel(0, 0), image.pixel(0, 1)); // top-left was bottom-left
    EXPECT_EQ(turned.pixel(1, 2), image.pixel(2, 0));

    const QString bmp = dir.filePath(QStringLiteral("b.bmp"));
    ASSERT_TRUE(image.save(bmp));
    const QByteArray before = TestFiles::read(bmp);
    EXPECT_FALSE(ImageUtils::transformImage(bmp, ImageTransformRotate180, 90.0));
    EXPECT_EQ(TestFiles::read(bmp), before);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 2);
}

TEST(ExifOrient, ReadsAndPatchesInPlace) {
    QTemporaryDir dir;
    for (bool littleEndian : {false, true}) {
        SCOPED_TRACE(littleEndian);
        const QString path = dir.filePath(QStringLiteral("x%1.jpg").arg(littleEndian));
        ExifOptions options;
        options.orientation = 6;
        options.littleEndian = littleEndian;
        options.thumbnail = encodeJpeg(quadrants(16, 16));
        options.thumbnailOrientation = true;
        const QByteArray bytes = withExif(encodeJpeg(quadrants(16, 16)), exifPayload(options));
        ASSERT_TRUE(TestFiles::write(path, bytes));
        EXPECT_EQ(readOrientation(path), 6);
        unsigned char value = 3;
        EXPECT_TRUE(exif_orient(QFile::encodeName(path).constData(), &value));
        EXPECT_EQ(readOrientation(path), 3);
        const QByteArray after = TestFiles::read(path);
        ASSERT_EQ(after.size(), bytes.size());
        int differing = 0;
        for (qsizetype i = 0; i < bytes.size(); ++i)
            differing += bytes[i] != after[i];
        EXPECT_EQ(differing, 2); // the value byte of IFD 0 and of IFD 1
    }
}

TEST(ExifOrient, WritesIfdZeroButReportsAMissingThumbnailTag) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("t.jpg"));
    ExifOptions options;
    options.orientation = 8;
    options.thumbnail = encodeJpeg(quadrants(16, 16));
    ASSERT_TRUE(
        TestFiles::write(path, withExif(encodeJpeg(quadrants(16, 16)), exifPayload(options))));
    unsigned char value = 1;
    EXPECT_FALSE(exif_orient(QFile::encodeName(path).constData(), &value));
    EXPECT_EQ(readOrientation(path), 1);
}

TEST(ExifOrient, RejectsBadValuesAndDamagedStructures) {
    QTemporaryDir dir;
    ExifOptions options;
    options.orientation = 9;
    const QByteArray nine = withExif(encodeJpeg(quadrants(16, 16)), exifPayload(options));
    options.orientation = 6;
    const QByteArray good = withExif(encodeJpeg(quadrants(16, 16)), exifPayload(options));
    const qsizetype tiff = good.indexOf("Exif\0\0") + 6;

    QByteArray badIfdOffset = good;
    badIfdOffset[tiff + 6] = char(0x7F); // IFD 0 far beyond the segment
    QByteArray hugeCount = good;
    const qsizetype ifd0 = tiff + 8;
    hugeCount[ifd0] = char(0xFF);
    hugeCount[ifd0 + 1] = char(0xFF);
    QByteArray shortSegment = good;
    shortSegment[good.indexOf("Exif\0\0") - 2] = 0; // APP1 length 0x00xx < real size
    shortSegment[good.indexOf("Exif\0\0") - 1] = 12;

    const QByteArray cases[] = {nine,
                                badIfdOffset,
                                hugeCount,
                                shortSegment,
                                good.left(tiff + 10),
                                QByteArray("MM\0*\0\0\0\x08", 8),
                                QByteArray("\xFF\xD8", 2),
                                QByteArray()};
    int index = 0;
    for (const QByteArray& bytes : cases) {
        SCOPED_TRACE(index);
        const QString path = dir.filePath(QStringLiteral("bad%1.jpg").arg(index++));
        ASSERT_TRUE(TestFiles::write(path, bytes));
        EXPECT_EQ(readOrientation(path), -1);
        unsigned char value = 1;
        exif_orient(QFile::encodeName(path).constData(), &value);
        EXPECT_EQ(TestFiles::read(path).size(), bytes.size());
    }
    unsigned char value = 0;
    EXPECT_FALSE(exif_orient(nullptr, &value));
    EXPECT_FALSE(exif_orient("/no/such/file.jpg", &value));
    EXPECT_FALSE(exif_orient(QFile::encodeName(dir.filePath("bad0.jpg")).constData(), nullptr));
}

TEST(ExifOrient, FindsExifAfterALongJfifSegment) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("jfif.jpg"));
    ExifOptions options;
    options.orientation = 5;
    const QByteArray longJfif =
        segment(0xE0, QByteArray("JFIF\0\x01\x01\0\0\x01\0\x01\0\0", 14) + QByteArray(300, '\x7f'));
    QByteArray bytes = withExif(encodeJpeg(quadrants(16, 16)), exifPayload(options));
    bytes.insert(2, longJfif + segment(0xE2, "ICC_PROFILE\0..."));
    ASSERT_TRUE(TestFiles::write(path, bytes));
    EXPECT_EQ(readOrientation(path), 5);

    // Behind segments larger than the first read of the file's head.
    const QByteArray large = segment(0xE2, QByteArray(65000, 'i'));
    bytes.insert(2, large + large + large);
    ASSERT_TRUE(TestFiles::write(path, bytes));
    EXPECT_EQ(readOrientation(path), 5);
    unsigned char value = 2;
    EXPECT_TRUE(exif_orient(QFile::encodeName(path).constData(), &value));
    EXPECT_EQ(readOrientation(path), 2);
    EXPECT_EQ(TestFiles::read(path).size(), bytes.size());
}
