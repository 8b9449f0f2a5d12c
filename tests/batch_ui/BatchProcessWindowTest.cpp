// SPDX-License-Identifier: GPL-3.0-or-later
// The batch window driven as a person would: through its pages to a run
// on real pictures, the ending, failures and cancel requests.
#include "BatchUiFixture.h"

#include "TestFiles.h"
#include "UserDefaults.h"
#include "batch/BatchSummary.h"
#include "batch/ui/BatchConvertController.h"
#include "batch/ui/BatchOutputController.h"
#include "batch/ui/BatchProcessWindow.h"
#include "batch/ui/BatchProgressController.h"
#include "batch/ui/BatchResizeController.h"
#include "settings/SettingsKeys.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>

namespace {

enum Stage { resizeStage = 0, convertStage = 1, outputStage = 2, progressStage = 3 };

QSize sizeOf(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    return reader.size();
}

class BatchProcessWindowTest : public BatchUiFixture {
protected:
    void SetUp() override {
        BatchUiFixture::SetUp();
        m_parent.resize(800, 600);
        m_parent.show();
    }

    std::unique_ptr<BatchProcessWindow> makeWindow(const QStringList& images) {
        auto window =
            std::make_unique<BatchProcessWindow>(m_sources.path(), images, m_settings.store);
        window->show(&m_parent);
        return window;
    }

    // Goes to the progress page with the output into the destination
    // folder, and waits for the run's end.
    BatchSummary runThrough(BatchProcessWindow& window) {
        continueTo(window, outputStage);
        window.outputController()->destinationPath()->setText(m_dest.path());
        QSignalSpy ended(&window, &BatchProcessWindow::runFinished);
        continueTo(window, progressStage);
        EXPECT_TRUE(waitFor([&] { return !ended.isEmpty(); }));
        return ended.isEmpty() ? BatchSummary{} : ended.first().first().value<BatchSummary>();
    }

    QWidget m_parent;
};

TEST_F(BatchProcessWindowTest, OpensAsASheetWithFourPages) {
    auto window = makeWindow({writeJpeg(QStringLiteral("a.jpg"))});
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->parentWidget(), &m_parent);
    EXPECT_EQ(window->windowModality(), Qt::WindowModal);
    EXPECT_EQ(window->heightAdjustment(), BatchProcessWindow::heightAdjustmentValue);
    EXPECT_EQ(window->initialPath(), m_sources.path());
    ASSERT_EQ(window->pages().size(), 4);
    EXPECT_EQ(window->pages().at(resizeStage), window->resizeController());
    EXPECT_EQ(window->pages().at(convertStage), window->convertController());
    EXPECT_EQ(window->pages().at(outputStage), window->outputController());
    EXPECT_EQ(window->pages().at(progressStage), window->progressController());
    EXPECT_FALSE(window->imageView()->isHidden());

    continueTo(*window, outputStage);
    EXPECT_EQ(window->continueButton()->text(), QStringLiteral("Start"));
    EXPECT_TRUE(window->backButton()->isEnabled());
}

TEST_F(BatchProcessWindowTest, WithoutAParentItIsAWindowOfItsOwn) {
    BatchProcessWindow window(m_sources.path(), {}, m_settings.store);
    window.show(nullptr);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isWindow());
    EXPECT_EQ(window.windowModality(), Qt::NonModal);
    window.cancelButton()->click();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(BatchProcessWindowTest, RunsTwoPicturesAndClosesAfterTheSummary) {
    const QStringList images = {writeJpeg(QStringLiteral("IMG_0001.JPG"), 64, 32),
                                writeJpeg(QStringLiteral("IMG_0002.JPG"), 30, 60)};
    auto window = makeWindow(images);
    window->resizeController()->setResizeRow(BatchResizeController::rowPixels);
    window->resizeController()->resizePixels()->setValue(32);
    window->convertController()->imageFormat()->setCurrentIndex(BatchConvertController::itemPng);

    continueTo(*window, outputStage);
    window->outputController()->destinationPath()->setText(m_dest.path());
    QSignalSpy ended(window.get(), &BatchProcessWindow::runFinished);
    continueTo(*window, progressStage);
    // Nothing can be done on the progress page but cancel.
    EXPECT_FALSE(window->backButton()->isEnabled());
    EXPECT_FALSE(window->continueButton()->isEnabled());
    EXPECT_TRUE(window->progressController()->runStartTimer()->isActive());
    EXPECT_FALSE(window->processing());

    ASSERT_TRUE(waitFor([&] { return !ended.isEmpty(); }));
    const auto summary = ended.first().first().value<BatchSummary>();
    EXPECT_TRUE(window->processing());
    EXPECT_EQ(summary.written, 2);
    EXPECT_TRUE(summary.failures.isEmpty());

    EXPECT_EQ(sizeOf(dest(QStringLiteral("IMG_0001 resized.PNG"))), QSize(32, 16));
    EXPECT_EQ(sizeOf(dest(QStringLiteral("IMG_0002 resized.PNG"))), QSize(16, 32));
    EXPECT_TRUE(QFileInfo::exists(images.at(0)));
    EXPECT_TRUE(QFileInfo::exists(images.at(1)));
    // The choices were stored when the run started.
    EXPECT_EQ(m_settings.store.integerForKey(QLatin1String(SettingsKeys::batch_resize_pixels)), 32);

    BatchProgressController* progress = window->progressController();
    EXPECT_DOUBLE_EQ(progress->progressValue(), 100.0);
    EXPECT_EQ(progress->progress()->maximum(), 0);
    EXPECT_TRUE(progress->summaryText().contains(QStringLiteral("2 pictures written")))
        << progress->summaryText().toStdString();
    EXPECT_TRUE(progress->failuresText().isEmpty());

    // The ending closes the sheet.
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->endingTimer()->isActive());
    ASSERT_TRUE(waitFor([&] { return !window->isVisible(); }));
}

TEST_F(BatchProcessWindowTest, AFailedPictureIsNamedAndTheWindowStays) {
    const QByteArray broken = "not a picture at all";
    const QStringList images = {writeJpeg(QStringLiteral("good.jpg")),
                                writeFile(QStringLiteral("broken.jpg"), broken),
                                writeJpeg(QStringLiteral("also good.jpg"))};
    auto window = makeWindow(images);
    const BatchSummary summary = runThrough(*window);

    EXPECT_EQ(summary.written, 2);
    ASSERT_EQ(summary.failures.size(), 1);
    EXPECT_TRUE(QFileInfo::exists(dest(QStringLiteral("good resized.jpg"))));
    EXPECT_TRUE(QFileInfo::exists(dest(QStringLiteral("also good resized.jpg"))));
    EXPECT_FALSE(QFileInfo::exists(dest(QStringLiteral("broken resized.jpg"))));
    EXPECT_EQ(TestFiles::read(images.at(1)), broken);

    BatchProgressController* progress = window->progressController();
    EXPECT_TRUE(progress->summaryText().contains(QStringLiteral("1 picture could not")))
        << progress->summaryText().toStdString();
    EXPECT_TRUE(progress->failuresText().startsWith(QStringLiteral("broken.jpg: ")))
        << progress->failuresText().toStdString();
    // Two of three steps: the failure does not advance the bar.
    EXPECT_NEAR(progress->progressValue(), 66.67, 0.01);

    // Not gone before the user has read it.
    EXPECT_FALSE(window->endingTimer()->isActive());
    EXPECT_TRUE(window->isVisible());
    ASSERT_TRUE(window->continueButton()->isEnabled());
    EXPECT_EQ(window->continueButton()->text(), QStringLiteral("Done"));
    window->continueButton()->click();
    EXPECT_FALSE(window->isVisible());
}

TEST_F(BatchProcessWindowTest, CancelBeforeTheRunClosesAtOnce) {
    auto window = makeWindow({writeJpeg(QStringLiteral("a.jpg"))});
    continueTo(*window, outputStage);
    window->outputController()->destinationPath()->setText(m_dest.path());
    continueTo(*window, progressStage);
    ASSERT_TRUE(window->progressController()->runStartTimer()->isActive());

    window->cancelButton()->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_FALSE(window->progressController()->runStartTimer()->isActive());
    // A start that was already due is refused once the window has gone.
    window->process();
    EXPECT_FALSE(window->processing());
    EXPECT_TRUE(QDir(m_dest.path()).isEmpty());
}

TEST_F(BatchProcessWindowTest, CancelDuringTheRunStopsItAndTheEndingCloses) {
    QStringList images;
    for (int i = 1; i <= 5; ++i)
        images << writeJpeg(QStringLiteral("IMG_%1.jpg").arg(i), 640, 480);
    auto window = makeWindow(images);
    continueTo(*window, outputStage);
    window->outputController()->destinationPath()->setText(m_dest.path());
    continueTo(*window, progressStage);
    QSignalSpy ended(window.get(), &BatchProcessWindow::runFinished);
    window->process();
    ASSERT_TRUE(window->processing());

    // While the run works, cancel only asks it to stop.
    window->cancelButton()->click();
    EXPECT_TRUE(window->canceled());
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->cancelButton()->isEnabled());

    ASSERT_TRUE(waitFor([&] { return !ended.isEmpty(); }));
    const auto summary = ended.first().first().value<BatchSummary>();
    EXPECT_EQ(summary.written + summary.failed + summary.notStarted, 5);
    EXPECT_EQ(QDir(m_dest.path()).entryList(QDir::Files).size(), summary.written);
    EXPECT_TRUE(window->endingTimer()->isActive());
    ASSERT_TRUE(waitFor([&] { return !window->isVisible(); }));
}

TEST_F(BatchProcessWindowTest, SameFolderAndNamesPutTheOriginalInTheTrash) {
    m_settings.store.setBool(false, QLatin1String(SettingsKeys::batch_rename_files));
    const QString original = writeJpeg(QStringLiteral("a.jpeg"), 64, 32);
    auto window = makeWindow({original});
    window->resizeController()->setResizeRow(BatchResizeController::rowPercentage);
    window->resizeController()->resizePercentage()->setValue(50);
    continueTo(*window, outputStage);
    EXPECT_FALSE(window->outputController()->overwriteWarning()->isHidden());
    QSignalSpy ended(window.get(), &BatchProcessWindow::runFinished);
    continueTo(*window, progressStage);
    ASSERT_TRUE(waitFor([&] { return !ended.isEmpty(); }));

    EXPECT_EQ(sizeOf(original), QSize(32, 16));
    EXPECT_EQ(sizeOf(trashed(QStringLiteral("a.jpeg"))), QSize(64, 32));
}

} // namespace
