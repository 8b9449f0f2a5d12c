// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/TransferProgress.h"

#include <gtest/gtest.h>

TEST(TransferProgress, TellsSpeedAndTimeLeftOnceMeasurableAndPacesRedraws) {
    TransferProgress progress(120, 2'000'000'000);
    for (int file = 0; file < 3; ++file)
        progress.fileStarted();
    EXPECT_EQ(progress.statusText(2000).toStdString(), "3 of 120 files, 0 B of 2.0 GB");

    progress.bytesDone(100'000'000);
    const struct {
        qint64 elapsedMs;
        const char* expected;
    } cases[] = {
        {400, "3 of 120 files, 100.0 MB of 2.0 GB"}, // too early to measure
        {2000, "3 of 120 files, 100.0 MB of 2.0 GB, 50.0 MB/s, 0:38 left"},
        {10000, "3 of 120 files, 100.0 MB of 2.0 GB, 10.0 MB/s, 3:10 left"},
    };
    for (const auto& entry : cases)
        EXPECT_EQ(progress.statusText(entry.elapsedMs).toStdString(), entry.expected)
            << entry.elapsedMs;

    EXPECT_TRUE(progress.redrawDue(0));
    EXPECT_FALSE(progress.redrawDue(99));
    EXPECT_TRUE(progress.redrawDue(100));
    EXPECT_FALSE(progress.redrawDue(150));
    EXPECT_TRUE(progress.redrawDue(260));
}
