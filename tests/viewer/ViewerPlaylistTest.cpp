// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/ViewerPlaylist.h"
#include "JpegFixture.h"
#include "viewer/GLImageLoader.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// File names "0", "1", ...: the list logic never waits for the files.
QStringList files(int count) {
    QStringList list;
    for (int n = 0; n < count; ++n)
        list << QString::number(n);
    return list;
}

class ViewerPlaylistTest : public testing::Test {
protected:
    // The paths the factory was asked for since the last call.
    QStringList takeCreated() { return std::exchange(created, {}); }

    // The three loaders name the pictures around the current one.
    void expectLoadersInPlace() const {
        const QStringList& list = playlist.files();
        EXPECT_EQ(playlist.currentLoader()->path(), list.at(playlist.index()));
        EXPECT_EQ(playlist.nextLoader()->path(), list.at(playlist.nextIndex()));
        EXPECT_EQ(playlist.previousLoader()->path(), list.at(playlist.prevIndex()));
    }

    QStringList created;
    ViewerPlaylist playlist{[this](const QString& path) {
        created << path;
        return std::make_unique<GLImageLoader>(path, nullptr);
    }};
};

} // namespace

TEST_F(ViewerPlaylistTest, StartAndJumpsLoadCurrentThenNextThenPrevious) {
    playlist.start(files(5), 0);
    EXPECT_EQ(takeCreated(), QStringList({"0", "1", "4"}));
    expectLoadersInPlace();
    playlist.lastImage();
    EXPECT_EQ(playlist.index(), 4);
    EXPECT_EQ(takeCreated(), QStringList({"4", "0", "3"}));
    playlist.firstImage();
    EXPECT_EQ(playlist.index(), 0);
    EXPECT_EQ(takeCreated(), QStringList({"0", "1", "4"}));

    playlist.start(files(1), 0);
    EXPECT_EQ(takeCreated(), QStringList({"0", "0", "0"}));
}

TEST_F(ViewerPlaylistTest, SteppingReusesTheNeighbourAndReadsOneFile) {
    const struct {
        int from;
        bool forwards;
        int to;
        QString read;
    } cases[] = {
        {2, true, 3, "4"},
        {4, true, 0, "1"}, // the last wraps to the first
        {2, false, 1, "0"},
        {0, false, 4, "3"}, // and back
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << (c.forwards ? " next" : " prev"));
        playlist.start(files(5), c.from);
        takeCreated();
        GLImageLoader* const prev = playlist.previousLoader();
        GLImageLoader* const curr = playlist.currentLoader();
        GLImageLoader* const next = playlist.nextLoader();
        if (c.forwards) {
            playlist.nextImage();
            EXPECT_EQ(playlist.previousLoader(), curr);
            EXPECT_EQ(playlist.currentLoader(), next);
        } else {
            playlist.prevImage();
            EXPECT_EQ(playlist.currentLoader(), prev);
            EXPECT_EQ(playlist.nextLoader(), curr);
        }
        EXPECT_EQ(playlist.index(), c.to);
        EXPECT_EQ(takeCreated(), QStringList{c.read});
        expectLoadersInPlace();
    }
}

TEST_F(ViewerPlaylistTest, RemovingTheCurrentFile) {
    const struct {
        QStringList files;
        int index;
        QStringList remaining;
        int newIndex;
    } cases[] = {
        {{"a", "b", "c"}, 2, {"a", "b"}, 0}, // the last one: back to the first
        {{"a", "b", "c"}, 1, {"a", "c"}, 1},
        {{"a", "b", "a", "c"}, 0, {"b", "c"}, 0}, // every entry of the file goes
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "index " << c.index);
        playlist.start(c.files, c.index);
        takeCreated();
        GLImageLoader* const prev = playlist.previousLoader();
        GLImageLoader* const next = playlist.nextLoader();
        EXPECT_TRUE(playlist.removeCurrent());
        EXPECT_EQ(playlist.files(), c.remaining);
        EXPECT_EQ(playlist.index(), c.newIndex);
        EXPECT_EQ(playlist.currentLoader(), next);
        EXPECT_EQ(playlist.previousLoader(), prev);
        EXPECT_EQ(takeCreated(), QStringList{c.remaining.at(playlist.nextIndex())});
    }

    playlist.start({"a", "a"}, 1);
    EXPECT_FALSE(playlist.removeCurrent());
    EXPECT_TRUE(playlist.isEmpty());
    EXPECT_EQ(playlist.currentLoader(), nullptr);
}

TEST_F(ViewerPlaylistTest, ReportsOnlyTheCurrentLoaderBecomingReady) {
    QTemporaryDir folder;
    QStringList pictures;
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
        pictures << folder.filePath(QLatin1String(name));
        ASSERT_TRUE(JpegFixture::write(pictures.last(), {}));
    }
    QSignalSpy ready(&playlist, &ViewerPlaylist::currentReady);
    const auto allRead = [this] {
        return QTest::qWaitFor([this] {
            for (const ImageLoader* loader :
                 {playlist.previousLoader(), playlist.currentLoader(), playlist.nextLoader()}) {
                if (loader->status() == ImageLoader::StatusLoading)
                    return false;
            }
            return true;
        });
    };
    playlist.start(pictures, 0);
    ASSERT_TRUE(allRead());
    EXPECT_EQ(ready.count(), 1);
    EXPECT_NE(playlist.currentLoader()->glImage(), nullptr);

    playlist.reloadCurrent();
    EXPECT_EQ(takeCreated().last(), pictures.at(0));
    ASSERT_TRUE(allRead());
    EXPECT_EQ(ready.count(), 2);
}
