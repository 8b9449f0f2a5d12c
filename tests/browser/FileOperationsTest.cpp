// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/DropOperation.h"
#include "browser/FileOperationRun.h"
#include "browser/FreeName.h"
#include "browser/ItemReplacement.h"

#include "TestFiles.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>

#include <gtest/gtest.h>

namespace {

class FileOperationsTest : public ::testing::Test {
protected:
    QString path(const QString& relative) const { return m_root.filePath(relative); }
    void write(const QString& relative, const QByteArray& contents = "x") {
        ASSERT_TRUE(TestFiles::write(path(relative), contents));
    }
    QByteArray read(const QString& relative) const { return TestFiles::read(path(relative)); }
    // The names in `folder`, hidden ones included (left-over temporaries).
    QStringList entries(const QString& relative) const {
        return QDir(path(relative))
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                       QDir::Name);
    }
    // A Unix socket at `relative`: it cannot be opened for reading, so a
    // copy of it always fails, whoever runs the test.
    void makeSocket(const QString& relative) {
        ASSERT_TRUE(QDir().mkpath(QFileInfo(path(relative)).absolutePath()));
        const QByteArray name = QFile::encodeName(path(relative));
        ASSERT_LT(name.size(), int(sizeof(sockaddr_un::sun_path)));
        const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
        ASSERT_GE(fd, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::memcpy(address.sun_path, name.constData(), size_t(name.size()));
        const int bound = ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address));
        ::close(fd);
        ASSERT_EQ(bound, 0);
    }
    // What the private Trash holds (the test run's own data folder).
    static QStringList trashed() {
        const QString files =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
            QStringLiteral("/Trash/files");
        return QDir(files).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
    }

    QTemporaryDir m_root;
};

TEST_F(FileOperationsTest, PasteFindsTheFirstFreeName) {
    write("dest/photo.jpg");
    write("dest/IMG 7.jpg");
    write("dest/Holiday in Rome.jpg");
    write("dest/notes");
    write("dest/a 2 b.png");
    write("dest/scan 2.tif");
    write("dest/scan 3.tif");
    write("dest/.hidden");
    const struct {
        const char* source;
        const char* expected;
    } cases[] = {
        {"src/free.jpg", "free.jpg"},                         // not taken: kept
        {"src/photo.jpg", "photo 2.jpg"},                     // one word
        {"src/IMG 7.jpg", "IMG 8.jpg"},                       // a number goes up
        {"src/Holiday in Rome.jpg", "Holiday in Rome 2.jpg"}, // last word kept
        {"src/notes", "notes 2"},                             // no trailing dot
        {"src/a 2 b.png", "a 2 b 2.png"},                     // only the last word counts
        {"src/scan 2.tif", "scan 4.tif"},                     // taken counters skipped
        {"src/.hidden", ".hidden 2"},                         // a leading dot is no extension
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.source);
        EXPECT_EQ(FreeName::pasteDestination(path("dest"), path(QLatin1String(entry.source))),
                  path(QStringLiteral("dest/") + QLatin1String(entry.expected)));
    }
    // A second paste of the same file takes the next number.
    write("dest/photo 2.jpg");
    EXPECT_EQ(FreeName::pasteDestination(path("dest"), path("src/photo.jpg")),
              path("dest/photo 3.jpg"));
}

TEST_F(FileOperationsTest, DropPlanningLeavesOutItemsAlreadyThereAndFindsConflicts) {
    write("a/one.jpg");
    write("a/two.jpg");
    write("a/three.jpg");
    write("b/two.jpg");
    const QStringList files{path("a/one.jpg"), path("a/two.jpg"), path("a/three.jpg")};

    const DropOperation own = DropOperation::plan(files, path("a"), DropOperation::kMove);
    EXPECT_TRUE(own.targets().isEmpty());
    EXPECT_FALSE(own.hasConflict());
    EXPECT_FALSE(own.isRefused());

    const DropOperation sibling = DropOperation::plan(files, path("b"), DropOperation::kCopy);
    EXPECT_FALSE(sibling.isMove());
    EXPECT_EQ(sibling.sources(), files); // in the order dropped
    EXPECT_EQ(sibling.destinationFor(path("a/one.jpg")), path("b/one.jpg"));
    EXPECT_EQ(sibling.conflicts(), QStringList{path("b/two.jpg")});
    EXPECT_TRUE(sibling.hasConflict());
}

TEST_F(FileOperationsTest, AFolderNeverGoesIntoItselfOrItsSubFolders) {
    ASSERT_TRUE(QDir(m_root.path()).mkpath("album/trip/day"));
    ASSERT_TRUE(QDir(m_root.path()).mkpath("album2"));
    const struct {
        const char* folder;
        bool refused;
    } cases[] = {
        {"album/trip", true},
        {"album/trip/day", true},
        {"album2", false}, // a name that merely begins alike
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.folder);
        const DropOperation drop =
            DropOperation::plan({path("album")}, path(entry.folder), DropOperation::kMove);
        EXPECT_EQ(drop.isRefused(), entry.refused);
        EXPECT_EQ(drop.targets().isEmpty(), entry.refused);
    }
    // The replacement itself refuses too.
    EXPECT_FALSE(ItemReplacement::moveItem(path("album"), path("album/trip/album")));
    EXPECT_FALSE(ItemReplacement::copyItem(path("album"), path("album/trip/album")));
    EXPECT_TRUE(QFileInfo(path("album/trip/day")).isDir());
    EXPECT_FALSE(QFileInfo::exists(path("album/trip/album")));
}

TEST_F(FileOperationsTest, CopiesAndMovesReplaceFilesAndFoldersWhole) {
    write("src/photo.jpg", "new");
    write("src/kept.jpg", "moved");
    write("src/album/one.jpg", "1");
    write("src/album/sub/two.jpg", "2");
    write("dst/photo.jpg", "old");
    write("dst/kept.jpg", "old");
    write("dst/album/stale.jpg", "stale");

    EXPECT_TRUE(ItemReplacement::copyItem(path("src/photo.jpg"), path("dst/photo.jpg")));
    EXPECT_EQ(read("dst/photo.jpg"), "new");
    EXPECT_EQ(read("src/photo.jpg"), "new");

    EXPECT_TRUE(ItemReplacement::moveItem(path("src/kept.jpg"), path("dst/kept.jpg")));
    EXPECT_EQ(read("dst/kept.jpg"), "moved");
    EXPECT_FALSE(QFileInfo::exists(path("src/kept.jpg")));

    // The old folder goes to the Trash once the new one is in place.
    EXPECT_TRUE(ItemReplacement::copyItem(path("src/album"), path("dst/album")));
    EXPECT_EQ(read("dst/album/sub/two.jpg"), "2");
    EXPECT_FALSE(QFileInfo::exists(path("dst/album/stale.jpg")));
    EXPECT_TRUE(trashed().contains(QStringLiteral("album")));
    EXPECT_TRUE(ItemReplacement::moveItem(path("src/album"), path("dst/moved album")));
    EXPECT_EQ(read("dst/moved album/one.jpg"), "1");
    EXPECT_FALSE(QFileInfo::exists(path("src/album")));

    // No temporary is left behind.
    EXPECT_EQ(entries("dst"), (QStringList{"album", "kept.jpg", "moved album", "photo.jpg"}));
    EXPECT_EQ(entries("src"), QStringList{"photo.jpg"});
}

TEST_F(FileOperationsTest, AFailedCopyLeavesTheDestinationAsItWas) {
    write("dst/photo.jpg", "old");
    write("dst/album/one.jpg", "old one");
    makeSocket("src/photo.jpg");
    write("src/album/one.jpg", "new one");
    makeSocket("src/album/socket");
    const QStringList trashBefore = trashed();

    EXPECT_FALSE(ItemReplacement::copyItem(path("src/photo.jpg"), path("dst/photo.jpg")));
    EXPECT_EQ(read("dst/photo.jpg"), "old");
    EXPECT_FALSE(ItemReplacement::copyItem(path("src/album"), path("dst/album")));
    EXPECT_EQ(read("dst/album/one.jpg"), "old one");
    EXPECT_FALSE(ItemReplacement::copyItem(path("src/album"), path("dst/new album")));
    EXPECT_FALSE(QFileInfo::exists(path("dst/new album")));

    EXPECT_EQ(entries("dst"), (QStringList{"album", "photo.jpg"}));
    EXPECT_EQ(entries("dst/album"), QStringList{"one.jpg"});
    EXPECT_EQ(trashed(), trashBefore);
    EXPECT_TRUE(QFileInfo::exists(path("src/album/one.jpg")));
}

TEST_F(FileOperationsTest, ARunCollectsFailuresAndStopsWhenCancelled) {
    const QStringList items{"a", "bad", "c", "bad too"};
    QStringList done;
    FileOperationRun run(items, [&done](const QString& item) {
        done.append(item);
        return !item.startsWith(QLatin1String("bad"));
    });
    EXPECT_EQ(run.runHere(), (QStringList{"bad", "bad too"}));
    EXPECT_EQ(done, items);

    // A cancel takes effect after the step under way.
    QStringList stepped;
    FileOperationRun cancelled(items, [](const QString&) { return true; });
    QObject::connect(&cancelled, &FileOperationRun::stepStarted, [&](int, const QString& item) {
        stepped.append(item);
        if (item == QLatin1String("bad"))
            cancelled.cancel();
    });
    EXPECT_TRUE(cancelled.runHere().isEmpty());
    EXPECT_EQ(stepped, (QStringList{"a", "bad"}));

    // On its worker the same results arrive once, at the end.
    FileOperationRun worker(items, [](const QString& item) { return item != "c"; });
    QSignalSpy finished(&worker, &FileOperationRun::finished);
    worker.start();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(finished.first().at(0).toStringList(), QStringList{"c"});
    EXPECT_FALSE(finished.first().at(1).toBool());
}

} // namespace
