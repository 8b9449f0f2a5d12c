// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/MountedVolumes.h"

#include "TestFiles.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/mount.h>
#include <unistd.h>

TEST(MountedVolumes, KeepsLocalDisksInTableOrder) {
    QTemporaryDir folder;
    const QString table = folder.filePath("mountinfo");
    ASSERT_TRUE(TestFiles::write(
        table, "22 27 0:21 / /proc rw,relatime - proc proc rw\n"
               "27 1 0:30 / / rw,relatime - overlay overlay rw,lowerdir=/l\n"
               "30 27 8:2 / /home rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
               "31 27 8:17 / /media/ann/EOS\\040DIGITAL rw shared:52 master:3 - vfat /dev/sdb1 rw\n"
               "32 27 0:50 / /mnt/nas rw - nfs4 server:/photos rw\n"
               "33 27 0:51 / /run/user/1000 rw - tmpfs tmpfs rw\n"
               "34 27 8:33 / /mnt/windows rw - fuseblk /dev/sdc1 rw\n"
               "35 27 0:52 / /mnt/remote rw - fuse.sshfs host:/ rw\n"
               "36 27 7:0 / /snap/core/1 ro - squashfs /dev/loop0 ro\n"
               "37 27 8:3 /photos /srv/photos rw - btrfs /dev/sda3 rw\n"
               "not a mount line\n"
               "38 31 8:17 / /media/ann/EOS\\040DIGITAL rw - vfat /dev/sdb1 rw\n"));
    const MountedVolumes volumes(table);
    EXPECT_EQ(volumes.mountedLocalVolumePaths(),
              QStringList({"/", "/home", "/media/ann/EOS DIGITAL", "/mnt/windows", "/srv/photos"}));

    EXPECT_TRUE(MountedVolumes(folder.filePath("none")).mountedLocalVolumePaths().isEmpty());
}

TEST(MountedVolumes, ReportsARealMount) {
    if (geteuid() != 0)
        GTEST_SKIP() << "mounting needs root";
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("source"));
    ASSERT_TRUE(QDir(root.path()).mkpath("target"));
    MountedVolumes volumes; // the kernel's own table
    QSignalSpy changed(&volumes, &MountedVolumes::volumesChanged);
    const QByteArray source = QFile::encodeName(root.filePath("source"));
    const QByteArray target = QFile::encodeName(root.filePath("target"));
    if (::mount(source.constData(), target.constData(), nullptr, MS_BIND, nullptr) != 0)
        GTEST_SKIP() << "this machine does not allow mounts";
    const bool seen = changed.wait(5000);
    ::umount2(target.constData(), MNT_DETACH);
    EXPECT_TRUE(seen);
}
