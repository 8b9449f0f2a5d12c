// SPDX-License-Identifier: GPL-3.0-or-later
#include "camera/CameraDrive.h"

#include "JpegFixture.h"
#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QStringList relativePaths(const QList<CameraFilePtr>& files, const QString& root) {
    QStringList paths;
    for (const CameraFilePtr& file : files)
        paths << QDir(root).relativeFilePath(static_cast<CameraDriveFile*>(file.get())->path());
    return paths;
}

class CameraDriveTest : public ::testing::Test {
protected:
    void touch(const QString& relative) { ASSERT_TRUE(TestFiles::write(root(relative), "x")); }
    QString root(const QString& relative = {}) const {
        return relative.isEmpty() ? m_dir.path() : m_dir.path() + QLatin1Char('/') + relative;
    }
    QTemporaryDir m_dir;
};

TEST_F(CameraDriveTest, CardListsPicturesThenMoviesSkippingHiddenEntries) {
    for (const char* name :
         {"DCIM/100CANON/IMG_0002.JPG", "DCIM/100CANON/IMG_0001.JPG", "DCIM/100CANON/IMG_0001.THM",
          "DCIM/100CANON/MVI_0003.MOV", "DCIM/100CANON/.hidden.jpg", "DCIM/.trash/IMG_0009.JPG",
          "DCIM/101CANON/IMG_0100.JPG", "PRIVATE/AVCHD/BDMV/STREAM/00001.MTS",
          "PRIVATE/AVCHD/BDMV/STREAM/00002.m2ts", "PRIVATE/AVCHD/BDMV/STREAM/00003.Mp4",
          "PRIVATE/AVCHD/BDMV/INDEX.BDM", "PRIVATE/M4ROOT/CLIP/C0001.mov",
          "PRIVATE/M4ROOT/CLIP/.C0002.MOV", "PRIVATE/clip.avi", "PRIVATE/clip.ts",
          "PRIVATE/clip.mpg"})
        touch(QLatin1String(name));

    CameraDrive drive(root());
    EXPECT_TRUE(drive.isDefined());
    EXPECT_EQ(drive.imagePath(), root(QStringLiteral("DCIM")));
    EXPECT_EQ(drive.videoPath(), root(QStringLiteral("PRIVATE")));

    const QStringList pictures{"DCIM/100CANON/IMG_0001.JPG", "DCIM/100CANON/IMG_0001.THM",
                               "DCIM/100CANON/IMG_0002.JPG", "DCIM/100CANON/MVI_0003.MOV",
                               "DCIM/101CANON/IMG_0100.JPG"};
    const QStringList movies{"PRIVATE/AVCHD/BDMV/STREAM/00001.MTS",
                             "PRIVATE/AVCHD/BDMV/STREAM/00002.m2ts",
                             "PRIVATE/AVCHD/BDMV/STREAM/00003.Mp4",
                             "PRIVATE/M4ROOT/CLIP/C0001.mov",
                             "PRIVATE/clip.avi",
                             "PRIVATE/clip.ts"};
    EXPECT_EQ(relativePaths(drive.getFilesButImagesOnly(false, false), root()), pictures + movies);
    EXPECT_EQ(relativePaths(drive.getFilesButImagesOnly(true, false), root()), pictures);
    EXPECT_EQ(relativePaths(drive.getFilesButImagesOnly(false, true), root()),
              QStringList{pictures.first()});

    const QList<CameraFilePtr> all = drive.getFilesButImagesOnly(false, false);
    EXPECT_TRUE(static_cast<CameraDriveFile*>(all.first().get())->isMoveable());
    EXPECT_FALSE(static_cast<CameraDriveFile*>(all.last().get())->isMoveable());
}

TEST_F(CameraDriveTest, MovieOnlyCardFindsFirstMovieBehindOtherFiles) {
    touch(QStringLiteral("PRIVATE/AVCHD/AAA.XML"));
    touch(QStringLiteral("PRIVATE/AVCHD/BDMV/STREAM/00001.MTS"));
    CameraDrive drive(root());
    EXPECT_TRUE(drive.isDefined());
    EXPECT_TRUE(drive.imagePath().isEmpty());
    EXPECT_EQ(relativePaths(drive.getFilesButImagesOnly(false, true), root()),
              QStringList{QStringLiteral("PRIVATE/AVCHD/BDMV/STREAM/00001.MTS")});
    EXPECT_TRUE(drive.getFilesButImagesOnly(true, true).isEmpty());
    // No pictures: no title yet, every time it is asked.
    EXPECT_TRUE(drive.title().isEmpty());
    EXPECT_TRUE(drive.title().isEmpty());
}

TEST_F(CameraDriveTest, FolderWithoutCardLayoutIsUndefinedUnlessBuiltByHand) {
    touch(QStringLiteral("holiday/a.jpg"));
    touch(QStringLiteral("holiday/sub/b.png"));
    touch(QStringLiteral("dcim/c.jpg")); // the name is case-sensitive
    CameraDrive recognised(root());
    EXPECT_FALSE(recognised.isDefined());
    EXPECT_TRUE(recognised.getFilesButImagesOnly(false, false).isEmpty());

    CameraDrive folder;
    folder.setPath(root(QStringLiteral("holiday")));
    folder.setImagePath(root(QStringLiteral("holiday")));
    EXPECT_TRUE(folder.isDefined());
    EXPECT_EQ(relativePaths(folder.getFilesButImagesOnly(false, false), root()),
              (QStringList{"holiday/a.jpg", "holiday/sub/b.png"}));
    EXPECT_TRUE(
        CameraDrive::scanFolderRecursive(root(QStringLiteral("missing")), false, true).isEmpty());
}

TEST_F(CameraDriveTest, TitleFollowsMakeAndModel) {
    struct Case {
        const char* make;
        const char* model;
        const char* title;
    };
    const Case cases[] = {
        {"Kappa", "Kappa K1", "Kappa K1"},
        {"Kappa Optics", "K1", "Kappa Optics K1"},
        {"Kappa", "kappa k1", "Kappa kappa k1"},
        {"Kappa", "", "Kappa"},
        {"", "K1", "K1"},
        {"", "", "card"},
    };
    for (const Case& c : cases) {
        QTemporaryDir cardRoot;
        const QString card = cardRoot.path() + QStringLiteral("/card");
        JpegFixture::Options options;
        options.make = QString::fromUtf8(c.make);
        options.model = QString::fromUtf8(c.model);
        // A file with no EXIF at all stands for the "no data" case.
        ASSERT_TRUE(JpegFixture::write(card + QStringLiteral("/DCIM/100/IMG_0001.JPG"), options));
        CameraDrive drive(card);
        EXPECT_EQ(drive.title(), QString::fromUtf8(c.title)) << c.make << " / " << c.model;
    }
}

} // namespace
