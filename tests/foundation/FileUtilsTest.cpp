// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileUtils.h"

#include "TestFiles.h"

#include <QBuffer>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

QByteArray pngBytes() {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

TEST(FileUtilsTypes, MissingFilesAreJudgedByExtensionInAnyCase) {
    EXPECT_TRUE(FileUtils::isImageFile(QStringLiteral("/nowhere/IMG_0001.JPG")));
    EXPECT_TRUE(FileUtils::isImageFile(QStringLiteral("/nowhere/scan.Tiff")));
    EXPECT_TRUE(FileUtils::isVideoFile(QStringLiteral("/nowhere/00001.MTS")));
    EXPECT_TRUE(FileUtils::isVideoFile(QStringLiteral("/nowhere/clip.m2ts")));
    EXPECT_FALSE(FileUtils::isImageFile(QStringLiteral("/nowhere/clip.MOV")));
    EXPECT_FALSE(FileUtils::isVideoFile(QStringLiteral("/nowhere/IMG_0001.JPG")));
    EXPECT_FALSE(FileUtils::isImageFile(QStringLiteral("/nowhere/noextension")));
}

TEST(FileUtilsTypes, ExistingFilesAreRecognisedByContent) {
    QTemporaryDir dir;
    const QString unnamedPng = dir.filePath(QStringLiteral("picture"));
    const QString text = dir.filePath(QStringLiteral("notes.txt"));
    ASSERT_TRUE(TestFiles::write(unnamedPng, pngBytes()));
    ASSERT_TRUE(TestFiles::write(text, "plain words\n"));
    EXPECT_TRUE(FileUtils::isImageFile(unnamedPng));
    EXPECT_FALSE(FileUtils::isVideoFile(unnamedPng));
    EXPECT_FALSE(FileUtils::isImageFile(text));
    EXPECT_TRUE(FileUtils::isFile(unnamedPng, QStringLiteral("image/png"), {}));
    EXPECT_FALSE(FileUtils::isFile(unnamedPng, QStringLiteral("image/jpeg"), {}));
    // A folder named like an image is judged by its name only.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("album.jpg")));
    EXPECT_TRUE(FileUtils::isImageFile(dir.filePath(QStringLiteral("album.jpg"))));
}

TEST(FileUtilsIcons, FilesShareTheirExtensionsIconFoldersDoNot) {
    QTemporaryDir dir;
    ASSERT_TRUE(TestFiles::write(dir.filePath(QStringLiteral("a.png")), pngBytes()));
    ASSERT_TRUE(TestFiles::write(dir.filePath(QStringLiteral("b.png")), pngBytes()));
    const QIcon a = FileUtils::getIcon(dir.filePath(QStringLiteral("a.png")));
    const QIcon b = FileUtils::getIcon(dir.filePath(QStringLiteral("b.png")));
    EXPECT_EQ(a.cacheKey(), b.cacheKey());
    EXPECT_EQ(FileUtils::getIcon(dir.path()).cacheKey(), FileUtils::getIcon(dir.path()).cacheKey());
}

TEST(FileUtilsTrash, MovesIntoTheHomeTrashWithItsRecord) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("unwanted.jpg"));
    ASSERT_TRUE(TestFiles::write(file, "bytes"));
    ASSERT_TRUE(FileUtils::moveItemToTrash(file));
    EXPECT_FALSE(QFileInfo::exists(file));
    const QString trash =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Trash";
    const QStringList trashed = QDir(trash + "/files").entryList({"unwanted*"});
    ASSERT_EQ(trashed.size(), 1);
    EXPECT_EQ(TestFiles::read(trash + "/files/" + trashed.first()), "bytes");
    EXPECT_TRUE(QFileInfo::exists(trash + "/info/" + trashed.first() + ".trashinfo"));
    EXPECT_FALSE(FileUtils::moveItemToTrash(file));
}

TEST(FileUtilsDates, CreationFallsBackToModificationAndMissingFilesGiveNull) {
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("dated.jpg"));
    ASSERT_TRUE(TestFiles::write(file, "x"));
    const QDateTime when =
        QDateTime::fromString(QStringLiteral("2019-05-04T10:11:12.250"), Qt::ISODateWithMs);
    FileUtils::setModificationDate(when, file);
    EXPECT_EQ(FileUtils::getModificationDateForFile(file), when);
    const QDateTime created = FileUtils::getCreationDateForFile(file);
    ASSERT_TRUE(created.isValid());
    // Either the real birth time (just now) or the modification time.
    EXPECT_TRUE(created == when || qAbs(created.secsTo(QDateTime::currentDateTime())) < 120);
    FileUtils::setCreationDate(QDateTime::currentDateTime().addYears(-3), file); // no effect
    EXPECT_EQ(FileUtils::getModificationDateForFile(file), when);

    const QString missing = dir.filePath(QStringLiteral("missing.jpg"));
    EXPECT_FALSE(FileUtils::getCreationDateForFile(missing).isValid());
    EXPECT_FALSE(FileUtils::getModificationDateForFile(missing).isValid());
    FileUtils::setModificationDate(when, missing);
    EXPECT_FALSE(QFileInfo::exists(missing));
}

class ReplaceFile : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    QString m_target = m_dir.filePath(QStringLiteral("photo.jpg"));
    QString m_replacement = m_dir.filePath(QStringLiteral("new.jpg"));
};

TEST_F(ReplaceFile, PutsTheReplacementInPlace) {
    ASSERT_TRUE(TestFiles::write(m_target, "old"));
    ASSERT_TRUE(TestFiles::write(m_replacement, "new"));
    EXPECT_TRUE(FileUtils::replaceFile(m_target, m_replacement));
    EXPECT_EQ(TestFiles::read(m_target), "new");
    EXPECT_FALSE(QFileInfo::exists(m_replacement));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(ReplaceFile, MissingReplacementLeavesTheTarget) {
    ASSERT_TRUE(TestFiles::write(m_target, "old"));
    EXPECT_FALSE(FileUtils::replaceFile(m_target, m_replacement));
    EXPECT_FALSE(FileUtils::replaceFile(m_target, m_replacement, true));
    EXPECT_EQ(TestFiles::read(m_target), "old");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}

TEST_F(ReplaceFile, FailuresRemoveATemporaryReplacementOnly) {
    // No target: nothing to replace.
    ASSERT_TRUE(TestFiles::write(m_replacement, "new"));
    EXPECT_FALSE(FileUtils::replaceFile(m_target, m_replacement));
    EXPECT_TRUE(QFileInfo::exists(m_replacement));
    EXPECT_FALSE(FileUtils::replaceFile(m_target, m_replacement, true));
    EXPECT_FALSE(QFileInfo::exists(m_replacement));

    // A folder is never replaced by a file.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("folder")));
    ASSERT_TRUE(TestFiles::write(m_replacement, "new"));
    EXPECT_FALSE(
        FileUtils::replaceFile(m_dir.filePath(QStringLiteral("folder")), m_replacement, true));
    EXPECT_TRUE(QFileInfo(m_dir.filePath(QStringLiteral("folder"))).isDir());
    EXPECT_FALSE(QFileInfo::exists(m_replacement));
}

TEST_F(ReplaceFile, ReadOnlyFolderKeepsTheTarget) {
    if (geteuid() == 0)
        GTEST_SKIP() << "root ignores folder permissions";
    const QString locked = m_dir.filePath(QStringLiteral("locked"));
    ASSERT_TRUE(QDir().mkpath(locked));
    const QString lockedTarget = locked + "/photo.jpg";
    ASSERT_TRUE(TestFiles::write(lockedTarget, "old"));
    ASSERT_TRUE(TestFiles::write(m_replacement, "new"));
    ASSERT_EQ(chmod(QFile::encodeName(locked).constData(), 0555), 0);
    EXPECT_FALSE(FileUtils::replaceFile(lockedTarget, m_replacement, true));
    chmod(QFile::encodeName(locked).constData(), 0755);
    EXPECT_EQ(TestFiles::read(lockedTarget), "old");
    EXPECT_FALSE(QFileInfo::exists(m_replacement));
}

TEST_F(ReplaceFile, ReplacementOnAnotherFileSystemIsCopiedThenRenamed) {
    QTemporaryDir other(QStringLiteral("/dev/shm/pixhaul-XXXXXX"));
    struct stat a {
    }, b{};
    if (!other.isValid() || stat(QFile::encodeName(m_dir.path()).constData(), &a) != 0 ||
        stat(QFile::encodeName(other.path()).constData(), &b) != 0 || a.st_dev == b.st_dev)
        GTEST_SKIP() << "no second file system at hand";
    const QString remote = other.filePath(QStringLiteral("new.jpg"));
    ASSERT_TRUE(TestFiles::write(m_target, "old"));
    ASSERT_TRUE(TestFiles::write(remote, "remote bytes"));
    EXPECT_TRUE(FileUtils::replaceFile(m_target, remote, true));
    EXPECT_EQ(TestFiles::read(m_target), "remote bytes");
    EXPECT_FALSE(QFileInfo::exists(remote));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
}
