// SPDX-License-Identifier: GPL-3.0-or-later
// In-place rewrites on a full disk: the original stays byte for byte and no
// temporary is left behind.
#include "Exif.h"
#include "ImageUtils.h"
#include "JpegFixture.h"
#include "ScratchMount.h"
#include "TestFiles.h"

#include <QDir>

#include <gtest/gtest.h>

#include <functional>

namespace {

class RewriteFaultTest : public ::testing::Test {
protected:
    // An orientation-6 picture with a thumbnail-worthy size, on a tmpfs with
    // too little room left for a second copy of it.
    void checkUnchangedOnFullDisk(const std::function<bool(const QString&)>& rewrite) {
        ScratchMount mount(4 << 20);
        if (!mount.isMounted())
            GTEST_SKIP() << qPrintable(mount.reason());
        JpegFixture::Options options;
        options.size = QSize(512, 256);
        options.orientation = 6;
        options.make = QStringLiteral("Faults");
        options.digitized = QDateTime(QDate(2021, 3, 4), QTime(10, 0));
        const QByteArray original = JpegFixture::jpeg(options);
        const QString path = mount.path() + QStringLiteral("/IMG_0001.JPG");
        ASSERT_TRUE(TestFiles::write(path, original));
        ASSERT_TRUE(mount.fill(original.size() / 4));

        EXPECT_FALSE(rewrite(path));
        EXPECT_EQ(TestFiles::read(path), original) << "original changed by a failed rewrite";
        QStringList left =
            QDir(mount.path()).entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
        left.sort();
        EXPECT_EQ(left.join(QLatin1Char(' ')), QStringLiteral("IMG_0001.JPG filler"))
            << "temporary left behind";
    }
};

TEST_F(RewriteFaultTest, LosslessAutoRotationOnAFullDiskKeepsTheOriginal) {
    checkUnchangedOnFullDisk(
        [](const QString& path) { return ImageUtils::autoLosslessRotateImage(path); });
}

TEST_F(RewriteFaultTest, ThumbnailRewriteOnAFullDiskKeepsTheOriginal) {
    checkUnchangedOnFullDisk([](const QString& path) { return Exif::updateExifThumbnail(path); });
}

TEST_F(RewriteFaultTest, ExifTrimOnAFullDiskKeepsTheOriginal) {
    checkUnchangedOnFullDisk([](const QString& path) { return Exif::trimExifData(path); });
}

} // namespace
