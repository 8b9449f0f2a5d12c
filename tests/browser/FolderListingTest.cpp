// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/FolderListing.h"

#include "ItemTitles.h"
#include "JpegFixture.h"
#include "NativePath.h"
#include "TestFiles.h"

#include <QDir>
#include <QMap>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

TEST(FolderListing, ListsFoldersImagesAndMoviesOnly) {
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("sub/.cache"));
    ASSERT_TRUE(QFile::link(root.filePath("sub"), root.filePath("link")));
    ASSERT_TRUE(JpegFixture::write(root.filePath("photo.jpg"), {}));
    ASSERT_TRUE(JpegFixture::write(root.filePath(".hidden.jpg"), {}));
    ASSERT_TRUE(TestFiles::write(root.filePath("clip.mov"), "movie"));
    ASSERT_TRUE(TestFiles::write(root.filePath("notes.txt"), "just text"));
    // A name in Latin-1, not UTF-8: listed with every byte kept.
    const QByteArray latin1 = QFile::encodeName(root.path()) + "/caf\xe9.jpg";
    ::close(::open(latin1.constData(), O_CREAT | O_WRONLY, 0644));

    QMap<QString, BrowserItemType> listed;
    for (const BrowserItemPtr& item : FolderListing::listFolder(root.path())) {
        EXPECT_EQ(item->path(), root.filePath(item->title()));
        EXPECT_EQ(NativePath::decode(NativePath::encode(item->path())), item->path());
        listed.insert(item->title(), item->type());
    }
    ::unlink(latin1.constData()); // Qt's own removal cannot see that name
    EXPECT_EQ(listed, (QMap<QString, BrowserItemType>{
                          {"sub", BrowserItemTypeFolder},
                          {"link", BrowserItemTypeFolder},
                          {"photo.jpg", BrowserItemTypeImage},
                          {"clip.mov", BrowserItemTypeMovie},
                          {NativePath::decode("caf\xe9.jpg"), BrowserItemTypeImage},
                      }));
    EXPECT_TRUE(FolderListing::listFolder(root.filePath("sub")).isEmpty());
    EXPECT_TRUE(FolderListing::listFolder(root.filePath("gone")).isEmpty());
    EXPECT_TRUE(FolderListing::listFolder(root.filePath("photo.jpg")).isEmpty());
}

TEST(FolderListing, ReportsOnlyTheLatestRequestInBatches) {
    QTemporaryDir root;
    const QString big = root.filePath("big");
    const QString small = root.filePath("small");
    for (int i = 0; i < 600; ++i)
        ASSERT_TRUE(TestFiles::write(QStringLiteral("%1/%2.jpg").arg(big).arg(i), {}));
    for (const char* name : {"one.jpg", "two.mov", "sub/x.txt"})
        ASSERT_TRUE(TestFiles::write(small + "/" + name, {}));

    FolderListing listing;
    QSignalSpy batches(&listing, &FolderListing::itemsListed);
    QSignalSpy finished(&listing, &FolderListing::finished);
    // A worker stays the listing's child until its posts are delivered.
    const auto settle = [&] {
        for (int i = 0; i < 1000 && !listing.findChildren<QThread*>().isEmpty(); ++i)
            QTest::qWait(10);
    };
    const auto reported = [&](quint64 generation) {
        EXPECT_EQ(finished.size(), 1);
        EXPECT_EQ(finished.value(0).value(0).toULongLong(), generation);
        QList<BrowserItemPtr> items;
        for (const QList<QVariant>& batch : std::as_const(batches)) {
            EXPECT_EQ(batch.at(0).toULongLong(), generation);
            items += batch.at(1).value<QList<BrowserItemPtr>>();
        }
        batches.clear();
        finished.clear();
        return titles(items);
    };

    const quint64 first = listing.start(big);
    ASSERT_TRUE(finished.wait(60000));
    settle();
    EXPECT_FALSE(listing.isRunning());
    EXPECT_GE(batches.size(), 3);
    EXPECT_EQ(reported(first), titles(FolderListing::listFolder(big)));

    // The first listing's batches posted meanwhile arrive after the second start.
    listing.start(big);
    QThread::msleep(30);
    const quint64 second = listing.start(small);
    ASSERT_TRUE(finished.wait(60000));
    settle();
    EXPECT_EQ(reported(second), titles(FolderListing::listFolder(small)));

    listing.start(big);
    listing.cancel();
    settle();
    EXPECT_TRUE(batches.isEmpty());
    EXPECT_TRUE(finished.isEmpty());

    // Gone while its worker reads: the worker must not touch it.
    FolderListing().start(big);
    QCoreApplication::processEvents();
}
