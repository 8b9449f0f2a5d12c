// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureDecoder.h"
#include "DngFixture.h"
#include "FileUtils.h"
#include "HeifFixture.h"
#include "HeifPictureReader.h"
#include "ImageUtils.h"
#include "JpegFixture.h"
#include "RawPictureReader.h"
#include "TestFiles.h"

#include <QFile>
#include <QTemporaryDir>

#include <turbojpeg.h>

#include <memory>

#include <gtest/gtest.h>

namespace {

using Source = PictureDecoder::Source;

const QDateTime kTaken(QDate(2023, 7, 14), QTime(18, 30, 5));

bool isReddish(QRgb pixel) {
    return qRed(pixel) > 180 && qBlue(pixel) < 90;
}
bool isBluish(QRgb pixel) {
    return qBlue(pixel) > 180 && qRed(pixel) < 90;
}

PictureDecoder::Request box(int pixels) {
    PictureDecoder::Request request;
    request.pixels = pixels;
    return request;
}

class PictureDecoderTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }

    QString writeDng(const QString& name, const DngFixture::Options& options) const {
        const QString file = path(name);
        EXPECT_TRUE(DngFixture::write(file, options));
        return file;
    }

    // Null when this libheif cannot encode; the test then says why.
    QString writeHeic(const QString& name, const HeifFixture::Options& options) const {
        QString reason;
        if (!HeifFixture::canEncode(&reason))
            return QString();
        const QString file = path(name);
        EXPECT_TRUE(HeifFixture::write(file, options));
        return file;
    }

    QTemporaryDir m_dir;
};

#define SKIP_WITHOUT_HEIF_ENCODER(file)                                                            \
    do {                                                                                           \
        QString reason;                                                                            \
        if ((file).isEmpty() && !HeifFixture::canEncode(&reason))                                  \
            GTEST_SKIP() << reason.toStdString();                                                  \
    } while (false)

// A CMYK JPEG (stored as YCCK), which libjpeg-turbo cannot turn into RGB.
QByteArray cmykJpeg(const QSize& size) {
    const std::unique_ptr<void, int (*)(tjhandle)> encoder(tjInitCompress(), tjDestroy);
    QByteArray pixels(qsizetype(size.width()) * size.height() * 4, '\x40');
    unsigned char* out = nullptr;
    unsigned long length = 0;
    if (!encoder || tjCompress2(encoder.get(), reinterpret_cast<unsigned char*>(pixels.data()),
                                size.width(), size.width() * 4, size.height(), TJPF_CMYK, &out,
                                &length, TJSAMP_444, 90, 0) != 0) {
        tjFree(out);
        return QByteArray();
    }
    const QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(length));
    tjFree(out);
    return bytes;
}

} // namespace

TEST_F(PictureDecoderTest, JpegComesUprightOrAsStoredAtTheSizeAsked) {
    using Failure = PictureDecoder::Failure;
    struct Case {
        const char* name;
        bool upright;
        bool fitExactly;
        int pixels; // -1: refused by pixelsFor
        QSize size; // empty: at least `atLeast`, smaller than stored
        QSize atLeast;
        int orientation;
        Failure failure;
    };
    // Stored 640 x 320, turned clockwise to upright.
    const QByteArray jpeg = JpegFixture::jpeg({.size = {640, 320}, .orientation = 6});
    for (const Case& c : {
             Case{"upright, fitted", true, true, 100, {50, 100}, {}, 1, Failure::None},
             Case{"stored, fitted", false, true, 100, {100, 50}, {}, 6, Failure::None},
             Case{"stored, DCT scale", false, false, 100, {}, {100, 50}, 6, Failure::None},
             Case{"stored, full size", false, false, 0, {640, 320}, {}, 6, Failure::None},
             Case{"refused", false, false, -1, {}, {}, 1, Failure::Refused},
         }) {
        PictureDecoder::Request request;
        request.upright = c.upright;
        request.fitExactly = c.fitExactly;
        QSize asked;
        request.pixelsFor = [&](const QSize& upright) {
            asked = upright;
            return c.pixels;
        };
        const PictureDecoder::Result result = PictureDecoder::decode(jpeg, request);
        EXPECT_EQ(asked, QSize(320, 640)) << c.name;
        EXPECT_EQ(result.originalSize, QSize(320, 640)) << c.name;
        EXPECT_EQ(result.failure, c.failure) << c.name;
        EXPECT_EQ(result.orientation, c.orientation) << c.name;
        if (c.failure != Failure::None) {
            EXPECT_TRUE(result.image.isNull()) << c.name;
            continue;
        }
        EXPECT_EQ(result.source, Source::ScaledJpeg) << c.name;
        if (!c.size.isEmpty()) {
            EXPECT_EQ(result.image.size(), c.size) << c.name;
        } else {
            EXPECT_GE(result.image.width(), c.atLeast.width()) << c.name;
            EXPECT_GE(result.image.height(), c.atLeast.height()) << c.name;
            EXPECT_LT(result.image.width(), 640) << c.name;
        }
    }
}

TEST_F(PictureDecoderTest, CmykJpegDecodesThroughQtsReader) {
    const QByteArray jpeg = cmykJpeg({96, 48});
    ASSERT_FALSE(jpeg.isEmpty());
    const QString file = path(QStringLiteral("cmyk.jpg"));
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly) && out.write(jpeg) == jpeg.size());
    out.close();
    for (const PictureDecoder::Result& result :
         {PictureDecoder::decode(jpeg, box(48)), PictureDecoder::decode(file, box(0))}) {
        EXPECT_EQ(result.source, Source::QtReader);
        EXPECT_EQ(result.failure, PictureDecoder::Failure::None);
        EXPECT_EQ(std::max(result.image.width(), result.image.height()),
                  result.originalSize == result.image.size() ? 96 : 48);
    }
}

TEST_F(PictureDecoderTest, RawAndHeifNamesAreImagesOfTheirFormat) {
    for (const char* name : {"IMG_1.CR2", "a.cr3", "b.NEF", "c.nrw", "d.arw", "e.dng", "f.raf",
                             "g.orf", "h.RW2", "i.pef", "j.srw", "k.HEIC", "l.heif"})
        EXPECT_TRUE(FileUtils::isImageFile(path(QLatin1String(name)))) << name;
    EXPECT_EQ(PictureDecoder::formatOf(path(QStringLiteral("x.NEF"))), PictureDecoder::Format::Raw);
    EXPECT_EQ(PictureDecoder::formatOf(path(QStringLiteral("x.HEIC"))),
              PictureDecoder::Format::Heif);
    EXPECT_EQ(PictureDecoder::formatOf(path(QStringLiteral("x.jpg"))),
              PictureDecoder::Format::Jpeg);
    EXPECT_FALSE(ImageUtils::looksLikeJpeg(path(QStringLiteral("x.CR2"))));
}

TEST_F(PictureDecoderTest, DngMetadataComesFromLibraw) {
    DngFixture::Options options;
    options.orientation = 6;
    options.taken = kTaken;
    const RawPictureReader raw(writeDng(QStringLiteral("m.dng"), options));
    ASSERT_TRUE(raw.isValid());
    const PictureMetadata metadata = raw.metadata();
    EXPECT_EQ(metadata.taken, kTaken);
    EXPECT_EQ(metadata.make, QStringLiteral("Pixhaul"));
    EXPECT_EQ(metadata.model, QStringLiteral("Fixture One"));
    EXPECT_EQ(metadata.size, QSize(192, 256)); // turned by the orientation
    EXPECT_EQ(metadata.iso, 200);
    EXPECT_NEAR(metadata.exposureSeconds, 1.0 / 125, 1e-6);
    EXPECT_NEAR(metadata.fNumber, 2.8, 1e-3);
    EXPECT_EQ(raw.previewSize(), QSize(64, 96));
}

// The preview alone decides the thumbnail: the raw strip is not even in
// the file, so a decode of the raw data could not succeed.
TEST_F(PictureDecoderTest, RawThumbnailComesFromThePreviewWithoutTheRawData) {
    DngFixture::Options options;
    options.orientation = 6;
    options.rawData = false;
    const QString file = writeDng(QStringLiteral("preview-only.dng"), options);
    const PictureDecoder::Result result = PictureDecoder::decode(file, box(48));
    ASSERT_FALSE(result.image.isNull());
    EXPECT_EQ(result.source, Source::RawPreview);
    EXPECT_EQ(result.image.size(), QSize(32, 48));
    // Turned clockwise: the stored left half is on top.
    EXPECT_TRUE(isReddish(result.image.pixel(16, 4)));
    EXPECT_TRUE(isBluish(result.image.pixel(16, 44)));
    EXPECT_TRUE(RawPictureReader(file).demosaiced(QSize()).isNull());
    // Larger than the preview: the raw data fails, the preview still serves.
    const PictureDecoder::Result larger = PictureDecoder::decode(file, box(200));
    EXPECT_EQ(larger.source, Source::RawPreview);
    EXPECT_EQ(larger.image.size(), QSize(64, 96));
    // The transfer's thumbnail takes the preview too.
    EXPECT_EQ(ImageUtils::getThumbnail(file).size(), QSize(64, 96));
}

TEST_F(PictureDecoderTest, RawIsDemosaicedOnlyWhenThePreviewIsTooSmall) {
    struct Case {
        int pixels; // 0: full size
        bool demosaic;
        Source expected;
        QSize size;
        int previewSuffices = 0;
    };
    const QString file = writeDng(QStringLiteral("small-preview.dng"),
                                  {.rawSize = {256, 192}, .previewSize = {48, 32}});
    for (const Case& c : {Case{40, true, Source::RawPreview, {40, 26}},
                          Case{48, true, Source::RawPreview, {48, 32}},
                          Case{100, true, Source::RawDemosaic, {100, 75}},
                          Case{0, true, Source::RawDemosaic, {256, 192}},
                          Case{100, false, Source::RawPreview, {48, 32}},
                          Case{100, true, Source::RawPreview, {48, 32}, 48},
                          Case{100, true, Source::RawDemosaic, {100, 75}, 49}}) {
        PictureDecoder::Request request = box(c.pixels);
        request.demosaicRaw = c.demosaic;
        request.rawPreviewSuffices = c.previewSuffices;
        const PictureDecoder::Result result = PictureDecoder::decode(file, request);
        EXPECT_EQ(result.source, c.expected) << c.pixels;
        EXPECT_EQ(result.image.size(), c.size) << c.pixels;
        EXPECT_EQ(result.originalSize, QSize(256, 192)) << c.pixels;
    }
}

TEST_F(PictureDecoderTest, RawAndJpegTwinsShareTheCaptureDayWhateverTheFileTimes) {
    const QString raw = writeDng(QStringLiteral("IMG_0007.DNG"), {.taken = kTaken});
    const QString jpeg = path(QStringLiteral("IMG_0007.JPG"));
    ASSERT_TRUE(JpegFixture::write(jpeg, {.digitized = kTaken}));
    const QDateTime wrong(QDate(2001, 1, 1), QTime(0, 0));
    for (const QString& file : {raw, jpeg}) {
        QFile handle(file);
        ASSERT_TRUE(handle.open(QIODevice::ReadWrite));
        ASSERT_TRUE(handle.setFileTime(wrong, QFileDevice::FileModificationTime));
    }
    EXPECT_EQ(ImageUtils::getCreationDateForImage(raw), kTaken);
    EXPECT_EQ(ImageUtils::getCreationDateForImage(jpeg), kTaken);
}

TEST_F(PictureDecoderTest, HeicDecodesUprightWithItsDateAndStoredThumbnail) {
    const QString file = writeHeic(QStringLiteral("p.heic"), {.size = {128, 64},
                                                              .taken = kTaken,
                                                              .make = QStringLiteral("Pixhaul"),
                                                              .orientation = 6,
                                                              .thumbnailSide = 64});
    SKIP_WITHOUT_HEIF_ENCODER(file);
    const HeifPictureReader heif(file);
    ASSERT_TRUE(heif.isValid());
    EXPECT_EQ(heif.metadata().taken, kTaken);
    EXPECT_EQ(heif.metadata().make, QStringLiteral("Pixhaul"));
    EXPECT_EQ(ImageUtils::getCreationDateForImage(file), kTaken);
    EXPECT_EQ(ImageUtils::getImageSize(file), QSize(128, 64));

    // The EXIF orientation repeats what libheif applies from the file's own
    // boxes (none here): it is never applied on top.
    const PictureDecoder::Result full = PictureDecoder::decode(file, box(0));
    EXPECT_EQ(full.source, Source::Heif);
    ASSERT_EQ(full.image.size(), QSize(128, 64));
    EXPECT_TRUE(isReddish(full.image.pixel(10, 32)));
    EXPECT_TRUE(isBluish(full.image.pixel(118, 32)));

    bool fromThumbnail = false;
    EXPECT_EQ(heif.decoded(QSize(64, 32), &fromThumbnail).size(), QSize(64, 32));
    EXPECT_TRUE(fromThumbnail);
    EXPECT_EQ(heif.decoded(QSize(100, 50), &fromThumbnail).size(), QSize(128, 64));
    EXPECT_FALSE(fromThumbnail);
    EXPECT_EQ(PictureDecoder::decode(file, box(32)).image.size(), QSize(32, 16));
}

// Damaged files decode to nothing and date from the file system.
TEST_F(PictureDecoderTest, DamagedRawAndHeicFilesGiveNoPictureAndTheFileDate) {
    QList<QString> files;
    // Cut inside the directories, where libraw finds neither preview nor date.
    const QByteArray dng = DngFixture::dng({.taken = kTaken});
    for (const qsizetype cut : {0, 7, 200}) {
        files.append(path(QStringLiteral("cut%1.dng").arg(cut)));
        ASSERT_TRUE(TestFiles::write(files.last(), dng.left(cut)));
    }
    QString reason;
    if (HeifFixture::canEncode(&reason)) {
        const QByteArray heic = HeifFixture::heic({.taken = kTaken});
        for (const qsizetype cut : {qsizetype(12), qsizetype(100), heic.size() / 2}) {
            files.append(path(QStringLiteral("cut%1.heic").arg(cut)));
            ASSERT_TRUE(TestFiles::write(files.last(), heic.left(cut)));
        }
    } else {
        std::printf("HEIC cases skipped: %s\n", qPrintable(reason));
    }
    for (const QString& file : files) {
        const PictureDecoder::Result result = PictureDecoder::decode(file, box(64));
        EXPECT_TRUE(result.image.isNull()) << qPrintable(file);
        EXPECT_EQ(ImageUtils::getCreationDateForImage(file),
                  FileUtils::getCreationDateForFile(file))
            << qPrintable(file);
    }
}
