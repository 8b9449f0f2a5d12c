// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/SpaceCheck.h"
#include "camera/CameraDriveFile.h"

#include "PrivateSettings.h"
#include "TestFiles.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/statvfs.h>

namespace {

TEST(SpaceCheckTest, CountsWholeBlocksPerFileSystemAndNamesWhatIsMissing) {
    QTemporaryDir card;
    QTemporaryDir dest;
    struct statvfs info {};
    ASSERT_EQ(::statvfs(QFile::encodeName(dest.path()).constData(), &info), 0);
    const qint64 block = qint64(info.f_frsize);

    PrivateSettings settings;
    auto action = [&](const char* name, TransferMode mode, const char* folder) {
        const QString source = card.filePath(QLatin1String(name));
        EXPECT_TRUE(TestFiles::write(source, QByteArray(int(block) + 1, 'x')));
        return std::make_shared<TransferAction>(
            mode, std::make_shared<CameraDriveFile>(source, true),
            dest.filePath(QLatin1String(folder)) + QLatin1Char('/') + QLatin1String(name),
            settings.store);
    };
    ASSERT_TRUE(TestFiles::write(dest.filePath(QStringLiteral("old/taken.jpg")), "old"));
    const QList<TransferActionPtr> actions = {
        action("copied.jpg", TransferModeCopy, "new/day"),   // two blocks
        action("taken.jpg", TransferModeCopy, "old"),        // two, none when skipped
        action("renamed.jpg", TransferModeMove, "new/day")}; // one file system: none

    for (bool skipExisting : {false, true}) {
        SCOPED_TRACE(skipExisting);
        const SpaceCheck check = SpaceCheck::forActions(actions, skipExisting);
        ASSERT_EQ(check.volumes().size(), 1);
        const SpaceCheck::Volume& volume = check.volumes().first();
        EXPECT_EQ(volume.bytesToWrite, (skipExisting ? 2 : 4) * block);
        EXPECT_EQ(volume.folders, (QStringList{dest.filePath(QStringLiteral("new/day")),
                                               dest.filePath(QStringLiteral("old"))}));
        EXPECT_TRUE(dest.path().startsWith(volume.mountPoint));
        EXPECT_TRUE(check.fits());
        EXPECT_TRUE(check.shortage().isEmpty());
    }

    SpaceCheck tooMuch;
    tooMuch.addFile(dest.filePath(QStringLiteral("new")), qint64(info.f_bavail + 10) * block);
    EXPECT_FALSE(tooMuch.fits());
    const QString message = tooMuch.shortage();
    EXPECT_TRUE(message.startsWith(QStringLiteral("Not enough space on ") +
                                   tooMuch.volumes().first().mountPoint))
        << qPrintable(message);
    EXPECT_TRUE(message.contains(dest.filePath(QStringLiteral("new"))));
    EXPECT_TRUE(message.endsWith(QLatin1String("missing."))) << qPrintable(message);
}

} // namespace
