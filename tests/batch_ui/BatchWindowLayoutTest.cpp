// SPDX-License-Identifier: GPL-3.0-or-later
// The batch window's pages at the default and at a large font: every
// control gets at least the room it asks for. Each page is also offered for
// viewing (LayoutCheck::saveForViewing).
#include "BatchUiFixture.h"
#include "FontScaledTest.h"
#include "LayoutCheck.h"

#include "batch/BatchSummary.h"
#include "batch/ui/BatchOutputController.h"
#include "batch/ui/BatchProcessWindow.h"
#include "batch/ui/BatchProgressController.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QTest>

namespace {

void settle() {
    QApplication::processEvents();
    QTest::qWait(50);
    QApplication::processEvents();
}

class BatchWindowLayout : public FontScaledTest<BatchUiFixture> {};

TEST_P(BatchWindowLayout, EveryPageGivesItsControlsTheirRoom) {
    BatchProcessWindow window(m_sources.path(), {}, m_settings.store);
    window.show(nullptr);
    const char* names[] = {"batch-resize", "batch-convert", "batch-output"};
    for (int stage = 0; stage < 3; ++stage) {
        continueTo(window, stage);
        if (stage == 2)
            // The warning is the page's tallest state.
            window.outputController()->renameFiles()->setChecked(false);
        settle();
        EXPECT_EQ(LayoutCheck::clippedControls(&window), QStringList()) << names[stage];
        LayoutCheck::saveForViewing(&window, QString::fromLatin1(names[stage]));
    }

    // The progress page at its fullest: a summary with failures. The run
    // itself is not wanted here.
    continueTo(window, 3);
    BatchProgressController* progress = window.progressController();
    progress->runStartTimer()->stop();
    progress->imageStarted(1, 3, QStringLiteral("/photos/IMG_0002.JPG"));
    progress->incrementBy(100.0 / 3);
    settle();
    EXPECT_EQ(LayoutCheck::clippedControls(&window), QStringList()) << "batch-progress";
    LayoutCheck::saveForViewing(&window, QStringLiteral("batch-progress"));

    BatchSummary summary;
    summary.written = 2;
    summary.failed = 1;
    BatchOutcome failure;
    failure.source = QStringLiteral("/photos/IMG_0003.TIF");
    failure.reason = QStringLiteral("cannot be processed");
    summary.failures = {failure};
    progress->showSummary(summary, QStringLiteral("/photos/Resized"));
    settle();
    EXPECT_EQ(LayoutCheck::clippedControls(&window), QStringList()) << "batch-summary";
    LayoutCheck::saveForViewing(&window, QStringLiteral("batch-summary"));
    window.done();
}

INSTANTIATE_TEST_SUITE_P(Fonts, BatchWindowLayout, ::testing::Values(1.0, 1.6));

} // namespace
