// SPDX-License-Identifier: GPL-3.0-or-later
#include "MountTable.h"

#include <gtest/gtest.h>

TEST(MountTable, ParsesFieldsAroundOptionalTagsAndEscapes) {
    const QByteArray text =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "98 22 8:17 / /media/ann/EOS\\040DIGITAL rw,nosuid shared:52 master:3 - vfat /dev/sdb1 rw\n"
        "23 22 0:21 / /proc rw - proc proc rw\n"
        "garbage line\n"
        "\n"
        "99 22 0:50 / /mnt/x rw - \n";
    const QList<MountEntry> entries = MountTable::parse(text);
    ASSERT_EQ(entries.size(), 3);
    EXPECT_EQ(entries[0].mountPoint, "/");
    EXPECT_EQ(entries[0].fileSystemType, "ext4");
    EXPECT_EQ(entries[1].mountPoint, "/media/ann/EOS DIGITAL");
    EXPECT_EQ(entries[1].fileSystemType, "vfat");
    EXPECT_EQ(entries[1].source, "/dev/sdb1");
    EXPECT_TRUE(MountTable::isVirtualFileSystem(entries[2].fileSystemType));
    EXPECT_FALSE(MountTable::isVirtualFileSystem(entries[1].fileSystemType));
}

TEST(MountTable, UnescapesOnlyCompleteOctalSequences) {
    EXPECT_EQ(MountTable::unescape("a\\040b\\011c\\134d"), "a b\tc\\d");
    EXPECT_EQ(MountTable::unescape("end\\04"), "end\\04");
    EXPECT_EQ(MountTable::unescape("x\\9zz"), "x\\9zz");
}
