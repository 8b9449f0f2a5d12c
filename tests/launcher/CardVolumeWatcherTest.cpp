// SPDX-License-Identifier: GPL-3.0-or-later
#include "CardVolumeWatcher.h"

#include "TestFiles.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

namespace {

QByteArray line(int id, const QString& mountPoint) {
    QByteArray escaped = QFile::encodeName(mountPoint);
    escaped.replace(" ", "\\040");
    return QByteArray::number(id) + " 1 8:1 / " + escaped + " rw - vfat /dev/sd" +
           QByteArray::number(id) + " rw\n";
}

} // namespace

TEST(CardVolumeWatcher, ReportsOnlyNewVolumesWithACameraLayout) {
    QTemporaryDir root;
    const QString early = root.filePath("early card");
    const QString card = root.filePath("EOS DIGITAL");
    const QString movies = root.filePath("HANDYCAM");
    const QString stick = root.filePath("USB STICK");
    ASSERT_TRUE(QDir().mkpath(early + "/DCIM"));
    ASSERT_TRUE(QDir().mkpath(card + "/DCIM/100CANON"));
    ASSERT_TRUE(QDir().mkpath(movies + "/PRIVATE"));
    ASSERT_TRUE(QDir().mkpath(stick + "/Documents"));

    const QString table = root.filePath("mountinfo");
    ASSERT_TRUE(TestFiles::write(table, line(1, "/") + line(2, early)));
    CardVolumeWatcher watcher(table);
    ASSERT_TRUE(watcher.isWatching());
    QSignalSpy spy(&watcher, &CardVolumeWatcher::cardVolumeAppeared);

    ASSERT_TRUE(TestFiles::write(table, line(1, "/") + line(2, early) + line(3, card) +
                                            line(4, movies) + line(5, stick)));
    watcher.rescan();
    ASSERT_EQ(spy.size(), 2);
    EXPECT_EQ(spy.at(0).at(0).toString(), card);
    EXPECT_EQ(spy.at(1).at(0).toString(), movies);

    // Unmounted and mounted again: a new arrival.
    ASSERT_TRUE(TestFiles::write(table, line(1, "/")));
    watcher.rescan();
    ASSERT_TRUE(TestFiles::write(table, line(1, "/") + line(6, card)));
    watcher.rescan();
    ASSERT_EQ(spy.size(), 3);
    EXPECT_EQ(spy.at(2).at(0).toString(), card);
}

TEST(CardVolumeWatcher, SeesARealMountOfACard) {
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting needs root";
    QTemporaryDir root;
    const QString card = root.filePath("card");
    const QString mountPoint = root.filePath("media/EOS_DIGITAL");
    ASSERT_TRUE(QDir().mkpath(card + "/DCIM/100CANON"));
    ASSERT_TRUE(QDir().mkpath(mountPoint));
    CardVolumeWatcher watcher; // the kernel's own table
    ASSERT_TRUE(watcher.isWatching());
    QSignalSpy spy(&watcher, &CardVolumeWatcher::cardVolumeAppeared);
    const QByteArray source = QFile::encodeName(card);
    const QByteArray target = QFile::encodeName(mountPoint);
    if (::mount(source.constData(), target.constData(), nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "this machine does not allow mounts";
    const bool seen = spy.wait(5000);
    ::umount2(target.constData(), MNT_DETACH);
    ASSERT_TRUE(seen);
    EXPECT_EQ(spy.at(0).at(0).toString(), mountPoint);
}

TEST(CardVolumeWatcher, MissingTableMeansNotWatching) {
    CardVolumeWatcher watcher(QStringLiteral("/no/such/mountinfo"));
    EXPECT_FALSE(watcher.isWatching());
    EXPECT_FALSE(CardVolumeWatcher::holdsCameraLayout(QStringLiteral("/no/such/card")));
}
