// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileUtils.h"
#include "ItemTitles.h"
#include "JpegFixture.h"
#include "TestFiles.h"
#include "browser/BrowserFilter.h"
#include "browser/BrowserHistory.h"
#include "browser/FolderListing.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(BrowserFilter, FoldersFirstThenMediaByDateOrName) {
    // Sub-folders b and a, two images of one EXIF date and a movie dated
    // before them. Linux cannot set a birth time, so the movie's date is
    // its birth (now) or its 2011 modification; the images are dated later
    // than either.
    QTemporaryDir folder;
    ASSERT_TRUE(QDir(folder.path()).mkpath("b"));
    ASSERT_TRUE(QDir(folder.path()).mkpath("a"));
    JpegFixture::Options options;
    options.digitized = QDateTime(QDate(2099, 5, 1), QTime(10, 0));
    ASSERT_TRUE(JpegFixture::write(folder.filePath("IMG_2.jpg"), options));
    ASSERT_TRUE(JpegFixture::write(folder.filePath("IMG_1.jpg"), options));
    ASSERT_TRUE(TestFiles::write(folder.filePath("clip.mov"), "not really a movie"));
    FileUtils::setModificationDate(QDateTime(QDate(2011, 3, 1), QTime(9, 0)),
                                   folder.filePath("clip.mov"));
    const QList<BrowserItemPtr> items = FolderListing::listFolder(folder.path());
    ASSERT_EQ(items.size(), 5);

    const struct {
        BrowserFilter filter;
        QStringList expected;
    } cases[] = {
        {{true, true, true, 0}, {"a", "b", "clip.mov", "IMG_1.jpg", "IMG_2.jpg"}},
        {{true, true, true, 1}, {"a", "b", "IMG_1.jpg", "IMG_2.jpg", "clip.mov"}},
        {{false, true, true, 0}, {"clip.mov", "IMG_1.jpg", "IMG_2.jpg"}},
        {{true, false, true, 1}, {"a", "b", "clip.mov"}},
        {{true, true, false, 0}, {"a", "b", "IMG_1.jpg", "IMG_2.jpg"}},
        {{false, false, false, 0}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.join(QLatin1Char(',')).toStdString());
        EXPECT_EQ(titles(c.filter.apply(items)), c.expected);
        // A listing shown while it grows ends in the same order.
        for (qsizetype split = 0; split <= items.size(); ++split)
            EXPECT_EQ(
                titles(c.filter.merged(c.filter.apply(items.first(split)), items.sliced(split))),
                c.expected);
    }
}

TEST(BrowserHistory, BackTwiceForwardOnceThenANewFolder) {
    BrowserHistory history;
    QString current;
    const auto open = [&](const QString& target, int mode) {
        history.recordOpen(current, target, mode);
        current = target;
    };
    open("/a", 0);
    open("/b", 1);
    open("/c", 0);
    open("/c", 0); // the same folder again leaves no trace
    open(history.back(current), 2);
    open(history.back(current), 2);
    EXPECT_TRUE(history.back(current).isEmpty());
    EXPECT_EQ(history.undonePaths(), QStringList({"/c", "/b"}));
    open(history.forward(), 3);
    EXPECT_EQ(current, "/b");
    EXPECT_EQ(history.visitedPaths(), QStringList({"/a"}));

    open("/d", 0);
    EXPECT_FALSE(history.canGoForward());
    EXPECT_EQ(history.visitedPaths(), QStringList({"/a", "/b"}));
}
