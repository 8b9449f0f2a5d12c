// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/ProgressBarController.h"
#include "Localization.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

TEST(ProgressBarController, IndeterminateSheetOnTheWindow) {
    QWidget window;
    window.show();
    auto sheet = ProgressBarController::progressBarIndeterinateForWindow(&window, true);
    ASSERT_NE(sheet->window(), nullptr);
    EXPECT_TRUE(sheet->window()->isVisible());
    EXPECT_EQ(sheet->window()->parentWidget(), &window);
    EXPECT_EQ(sheet->window()->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(sheet->isIndeterminate());
    EXPECT_EQ(sheet->progressIndicator()->maximum(), 0); // busy indicator
    EXPECT_TRUE(sheet->statusText()->text().isEmpty());
    EXPECT_TRUE(sheet->cancelButton()->isEnabled());
    EXPECT_FALSE(sheet->canceled());
}

TEST(ProgressBarController, CancelMarksCanceledAndDisablesTheButtonForGood) {
    QWidget window;
    window.show();
    auto sheet = ProgressBarController::progressBarForWindow(&window, true, 0, 10);
    int requests = 0;
    QObject::connect(sheet.get(), &ProgressBarController::cancelRequested, [&] { ++requests; });
    sheet->incrementBy(4);
    QTest::mouseClick(sheet->cancelButton(), Qt::LeftButton);
    EXPECT_TRUE(sheet->canceled());
    EXPECT_EQ(sheet->statusText()->text(), Localization::localizedString("Canceling..."));
    EXPECT_TRUE(sheet->isIndeterminate());
    EXPECT_FALSE(sheet->cancelButton()->isEnabled());
    sheet->cancel();
    EXPECT_EQ(requests, 1);
    // The sheet stays until its owner finishes it.
    EXPECT_TRUE(sheet->window()->isVisible());
    sheet->finish();
    EXPECT_FALSE(sheet->window()->isVisible());
}

TEST(ProgressBarController, NotCancelableIgnoresCancelEscapeAndClose) {
    QWidget window;
    window.show();
    auto sheet = ProgressBarController::progressBarForWindow(&window, false, 0, 3);
    EXPECT_FALSE(sheet->cancelButton()->isEnabled());
    sheet->cancel();
    QTest::keyClick(sheet->window(), Qt::Key_Escape);
    sheet->window()->close();
    EXPECT_FALSE(sheet->canceled());
    EXPECT_FALSE(sheet->cancelButton()->isEnabled());
    EXPECT_TRUE(sheet->window()->isVisible());
}

TEST(ProgressBarController, EscapeOnACancelableSheetCancelsWithoutClosing) {
    QWidget window;
    window.show();
    auto sheet = ProgressBarController::progressBarIndeterinateForWindow(&window, true);
    QTest::keyClick(sheet->window(), Qt::Key_Escape);
    EXPECT_TRUE(sheet->canceled());
    EXPECT_TRUE(sheet->window()->isVisible());
}

TEST(ProgressBarController, FractionalStepsAddUpOnTheBar) {
    QWidget window;
    auto sheet = ProgressBarController::progressBarForWindow(&window, false, 0, 100);
    for (int step = 0; step < 2; ++step)
        sheet->incrementBy(100.0 / 3.0);
    EXPECT_NEAR(sheet->doubleValue(), 66.67, 0.01);
    const QProgressBar* bar = sheet->progressIndicator();
    EXPECT_NEAR(double(bar->value()) / bar->maximum(), 0.6667, 0.001);
    sheet->incrementBy(1000);
    EXPECT_EQ(sheet->doubleValue(), 100.0);
}

TEST(ProgressBarController, FinishEndsAnExecutingSheet) {
    QWidget window;
    window.show();
    ProgressBarController sheet(&window);
    QTimer::singleShot(0, &sheet, &ProgressBarController::finish);
    sheet.window()->exec(); // returns only because finish() ended it
    EXPECT_FALSE(sheet.window()->isVisible());
}

TEST(ProgressBarController, OutlivingItsWindowIsSafe) {
    auto window = std::make_unique<QWidget>();
    auto sheet = ProgressBarController::progressBarIndeterinateForWindow(window.get(), true);
    window.reset();
    EXPECT_EQ(sheet->window(), nullptr);
    sheet->setStatusText(QStringLiteral("late"));
    sheet->finish();
}
