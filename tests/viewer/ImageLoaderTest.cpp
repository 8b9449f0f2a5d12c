// SPDX-License-Identifier: GPL-3.0-or-later
#include "DngFixture.h"
#include "FakeDrawingView.h"
#include "HeifFixture.h"
#include "JpegFixture.h"
#include "TestFiles.h"
#include "viewer/GLDrawingImage.h"
#include "viewer/GLImageLoader.h"

#include <QCoreApplication>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThreadPool>

#include <gtest/gtest.h>

namespace {

class ImageLoaderTest : public testing::Test {
protected:
    void SetUp() override {
        // Stored 64 x 32, red on the left, blue on the right, turned a
        // quarter clockwise for display.
        JpegFixture::Options options;
        options.orientation = 6;
        ASSERT_TRUE(JpegFixture::write(turned, options));
    }
    void TearDown() override {
        ImageLoader::setMaxSide(16384);
        ImageLoader::setScreenSide(2560);
    }

    static bool finished(const ImageLoader& loader) {
        return QTest::qWaitFor([&] { return loader.status() != ImageLoader::StatusLoading; });
    }

    // Every read started has delivered whatever it would deliver.
    static void drainReads() {
        QThreadPool::globalInstance()->waitForDone();
        QCoreApplication::sendPostedEvents();
    }

    QTemporaryDir folder;
    const QString turned = folder.filePath(QStringLiteral("turned.jpg"));
};

} // namespace

TEST_F(ImageLoaderTest, DecodesUprightWithinTheSizeLimit) {
    const QByteArray stored = TestFiles::read(turned);
    FakeDrawingView view({800, 600});
    for (const int maxSide : {16384, 16}) {
        SCOPED_TRACE(maxSide);
        ImageLoader::setMaxSide(maxSide);
        GLImageLoader loader(turned, &view);
        QSignalSpy ready(&loader, &ImageLoader::imageReady);
        ASSERT_TRUE(finished(loader));
        EXPECT_EQ(loader.status(), ImageLoader::StatusReady);
        EXPECT_EQ(ready.count(), 1);
        // Only the drawing image keeps the pixels.
        EXPECT_TRUE(loader.image().isNull());
        const std::shared_ptr<GLDrawingImage> drawing = loader.glImage();
        ASSERT_NE(drawing, nullptr);
        EXPECT_EQ(drawing->path(), turned);
        EXPECT_EQ(drawing->view(), &view);
        const QImage& image = drawing->image();
        ASSERT_EQ(image.size(), maxSide == 16 ? QSize(8, 16) : QSize(32, 64));
        // The stored left half is now on top.
        EXPECT_GT(qRed(image.pixel(image.width() / 2, image.height() / 4)), 200);
        EXPECT_GT(qBlue(image.pixel(image.width() / 2, image.height() * 3 / 4)), 200);
    }
    EXPECT_EQ(TestFiles::read(turned), stored);
}

TEST_F(ImageLoaderTest, FilesThatDoNotGiveAPicture) {
    const QString broken = folder.filePath(QStringLiteral("broken.jpg"));
    ASSERT_TRUE(TestFiles::write(broken, "\xFF\xD8\xFF not a picture"));
    const struct {
        QString path;
        ImageLoader::Status status;
    } cases[] = {
        {broken, ImageLoader::StatusReady}, // read, but nothing to show
        {folder.filePath(QStringLiteral("missing.jpg")), ImageLoader::StatusFailed},
        {folder.path(), ImageLoader::StatusFailed},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        GLImageLoader loader(c.path, nullptr);
        QSignalSpy ready(&loader, &ImageLoader::imageReady);
        QSignalSpy error(&loader, &ImageLoader::imageError);
        ASSERT_TRUE(finished(loader));
        EXPECT_EQ(loader.status(), c.status);
        EXPECT_EQ(ready.count(), int(c.status == ImageLoader::StatusReady));
        EXPECT_EQ(error.count(), int(c.status == ImageLoader::StatusFailed));
        EXPECT_EQ(loader.glImage(), nullptr);
    }
}

TEST_F(ImageLoaderTest, OnlyTheLatestReadReports) {
    const QString older = folder.filePath(QStringLiteral("older.jpg"));
    JpegFixture::Options large;
    large.size = {2000, 1500};
    ASSERT_TRUE(JpegFixture::write(older, large));

    // The older read still running, or done with its report still queued.
    for (const bool olderDone : {false, true}) {
        SCOPED_TRACE(olderDone ? "older done" : "older running");
        ImageLoader loader(older);
        QSignalSpy ready(&loader, &ImageLoader::imageReady);
        if (olderDone)
            QThreadPool::globalInstance()->waitForDone();
        loader.loadImage(turned);
        ASSERT_TRUE(finished(loader));
        drainReads();
        EXPECT_EQ(ready.count(), 1);
        EXPECT_EQ(loader.path(), turned);
        EXPECT_EQ(loader.image().size(), QSize(32, 64));
    }

    // A loader may go while its worker still reads (the sanitizer watches).
    delete new ImageLoader(older);
    drainReads();
}

// A RAW file shows its embedded preview when that fills the screen; a
// smaller one is demosaiced at once, and zooming past a preview that fills
// the screen reads the raw data then. HEIC decodes through libheif.
TEST_F(ImageLoaderTest, RawShowsItsPreviewFirstAndHeicDecodes) {
    const QString raw = folder.filePath(QStringLiteral("IMG_1.DNG"));
    ASSERT_TRUE(DngFixture::write(raw, {.rawSize = {256, 192}, .previewSize = {96, 64}}));
    struct Case {
        int screen;
        QSize shown;
        bool moreDetail;
    };
    for (const Case& c : {Case{64, {96, 64}, true}, Case{200, {256, 192}, false}}) {
        SCOPED_TRACE(c.screen);
        ImageLoader::setScreenSide(c.screen);
        ImageLoader loader(raw);
        ASSERT_TRUE(finished(loader));
        EXPECT_EQ(loader.image().size(), c.shown);
        EXPECT_EQ(loader.hasMoreDetail(), c.moreDetail);
        if (c.moreDetail) {
            QSignalSpy ready(&loader, &ImageLoader::imageReady);
            loader.loadFullDetail();
            EXPECT_EQ(loader.image().size(), c.shown); // the preview stays meanwhile
            ASSERT_TRUE(ready.wait());
            EXPECT_EQ(loader.image().size(), QSize(256, 192));
            EXPECT_FALSE(loader.hasMoreDetail());
        }
    }

    QString reason;
    if (!HeifFixture::canEncode(&reason))
        GTEST_SKIP() << "HEIC case: " << reason.toStdString();
    const QString heic = folder.filePath(QStringLiteral("IMG_2.HEIC"));
    ASSERT_TRUE(HeifFixture::write(heic, {.size = {96, 48}}));
    ImageLoader loader(heic);
    ASSERT_TRUE(finished(loader));
    EXPECT_EQ(loader.status(), ImageLoader::StatusReady);
    EXPECT_EQ(loader.image().size(), QSize(96, 48));
}
