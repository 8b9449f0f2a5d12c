// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileManagerUtils.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <QTemporaryDir>
#include <QtConcurrent>

#include <gtest/gtest.h>

TEST(TemporaryFilename, IsAnExclusiveHiddenFileBesideThePath) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("IMG_0001.JPG")); // need not exist
    const QString name = FileManagerUtils::temporaryFilename(target);
    const QFileInfo info(name);
    EXPECT_EQ(info.absolutePath(), QFileInfo(target).absolutePath());
    EXPECT_TRUE(info.fileName().startsWith('.'));
    EXPECT_EQ(info.suffix(), "JPG");
    EXPECT_TRUE(info.isFile());
    EXPECT_EQ(info.size(), 0);
    EXPECT_NE(FileManagerUtils::temporaryFilename(target), name);
}

TEST(TemporaryFilename, ConcurrentWritersNeverShareAName) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("x.tif"));
    QList<int> jobs(200);
    const QList<QString> names = QtConcurrent::blockingMapped(
        jobs, [&](int) { return FileManagerUtils::temporaryFilename(target); });
    const QSet<QString> unique(names.begin(), names.end());
    EXPECT_EQ(unique.size(), 200);
    EXPECT_FALSE(unique.contains(QString()));
}

TEST(TemporaryFilename, FallsBackToTheSystemFolderWithoutAUsableFolder) {
    const QString name =
        FileManagerUtils::temporaryFilename(QStringLiteral("/no/such/folder/a.png"));
    ASSERT_FALSE(name.isEmpty());
    EXPECT_EQ(QFileInfo(name).absolutePath(), QDir(QDir::tempPath()).absolutePath());
    EXPECT_EQ(QFileInfo(name).suffix(), "png");
    QFile::remove(name);
    EXPECT_TRUE(FileManagerUtils::temporaryDirectoryOnSameVolumeThan(QStringLiteral("/no/such/x"))
                    .isEmpty());

    const QString plain = FileManagerUtils::temporaryFilename();
    EXPECT_TRUE(QFileInfo(plain).isFile());
    EXPECT_TRUE(QFileInfo(plain).fileName().startsWith(
        FileManagerUtils::randomFilename().section('-', 0, 0)));
    QFile::remove(plain);
}
