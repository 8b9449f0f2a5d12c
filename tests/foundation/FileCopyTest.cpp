// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileCopy.h"
#include "FileUtils.h"

#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Bytes that differ along the file, so a chunk out of place shows.
QByteArray patterned(qsizetype size) {
    QByteArray bytes(size, Qt::Uninitialized);
    for (qsizetype i = 0; i < size; ++i)
        bytes[i] = char((i * 131 + i / 4093) & 0xFF);
    return bytes;
}

QStringList entries(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

TEST(FileCopy, CopiesAcrossChunksAndFileSystems) {
    QTemporaryDir dir;
    QTemporaryDir shm(QStringLiteral("/dev/shm/pixhaul-copy-XXXXXX"));
    // Several chunks and a short last one; empty files copy too.
    for (const qsizetype size :
         {qsizetype(0), qsizetype(1), qsizetype(4000), qsizetype((5 << 20) + 17)}) {
        const QByteArray contents = patterned(size);
        const QString source = dir.filePath(QStringLiteral("source"));
        ASSERT_TRUE(TestFiles::write(source, contents));
        ASSERT_TRUE(FileCopy::copyContents(source, dir.filePath(QStringLiteral("same"))));
        EXPECT_EQ(TestFiles::read(dir.filePath(QStringLiteral("same"))), contents) << size;
        if (!shm.isValid())
            continue;
        ASSERT_TRUE(FileCopy::copyContents(source, shm.filePath(QStringLiteral("other"))));
        EXPECT_EQ(TestFiles::read(shm.filePath(QStringLiteral("other"))), contents) << size;
    }
    // Progress sees every byte, and a false answer stops the copy.
    qint64 seen = 0;
    EXPECT_TRUE(FileCopy::copyContents(dir.filePath(QStringLiteral("source")),
                                       dir.filePath(QStringLiteral("watched")),
                                       [&](qint64 done) { return (seen = done), true; }));
    EXPECT_EQ(seen, (5 << 20) + 17);
    EXPECT_FALSE(FileCopy::copyContents(dir.filePath(QStringLiteral("source")),
                                        dir.filePath(QStringLiteral("stopped")),
                                        [](qint64) { return false; }));
}

TEST(FileCopy, ReadsWholeFilesAndRefusesWhatItCannotTrust) {
    QTemporaryDir dir;
    const QByteArray contents = patterned((2 << 20) + 5);
    const QString path = dir.filePath(QStringLiteral("whole"));
    ASSERT_TRUE(TestFiles::write(path, contents));
    QByteArray read;
    ASSERT_TRUE(FileCopy::readContents(path, &read));
    EXPECT_EQ(read, contents);

    // Over the limit, a folder, a missing file: refused, the output untouched.
    QByteArray untouched("kept");
    EXPECT_FALSE(FileCopy::readContents(path, &untouched, contents.size() - 1));
    EXPECT_FALSE(FileCopy::readContents(dir.path(), &untouched));
    EXPECT_FALSE(FileCopy::readContents(dir.filePath(QStringLiteral("gone")), &untouched));
    EXPECT_EQ(untouched, QByteArray("kept"));
    EXPECT_TRUE(FileCopy::readContents(path, &untouched, contents.size()));
}

TEST(FileCopy, ReplacingContentsKeepsTheTargetUntilTheNewOnesAreComplete) {
    QTemporaryDir dir;
    const QString target = dir.filePath(QStringLiteral("photo.jpg"));
    ASSERT_TRUE(TestFiles::write(target, "old"));
    const QByteArray contents = patterned(3 << 20);
    ASSERT_TRUE(FileUtils::replaceFileContents(target, contents));
    EXPECT_EQ(TestFiles::read(target), contents);
    EXPECT_EQ(entries(dir.path()), QStringList{"photo.jpg"});

    // No target to replace: nothing is created and no temporary file stays.
    EXPECT_FALSE(FileUtils::replaceFileContents(dir.filePath(QStringLiteral("new.jpg")), "x"));
    EXPECT_EQ(entries(dir.path()), QStringList{"photo.jpg"});
    // No temporary file can be made in a missing folder.
    EXPECT_FALSE(FileUtils::replaceFileContents(dir.filePath(QStringLiteral("no/photo.jpg")), "x"));
}
