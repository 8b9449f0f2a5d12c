// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/ui/BrowserItemActions.h"
#include "browser/ui/BrowserGridView.h"
#include "browser/ui/ImageBrowserController.h"
#include "browser/ui/InfoPanel.h"
#include "browser/ui/QuickPreviewWindow.h"
#include "transfer/ui/TransferAssistantController.h"

#include "JpegFixture.h"
#include "Localization.h"
#include "MovieFixture.h"
#include "PrivateSettings.h"
#include "StartAtLoginController.h"
#include "StringUtils.h"
#include "TestFiles.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A folder "shoot" with a sub-folder, three images and a movie, listed as
// folder first, then by name.
class BrowserItemActionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SettingsDefaults::registerDefaults(m_settings.store);
        m_settings.store.setObject(QStringList{m_root.path()},
                                   QLatin1String(SettingsKeys::browser_favorites));
        m_settings.store.setInteger(1, QLatin1String(SettingsKeys::browser_sort_order));
        ASSERT_TRUE(QDir(m_root.path()).mkpath("shoot/inner"));
        JpegFixture::Options exif;
        exif.make = QStringLiteral("Zentrovo");
        exif.digitized = QDateTime(QDate(2022, 2, 2), QTime(12, 0));
        for (const char* name : {"shoot/a.jpg", "shoot/b.jpg", "shoot/c.jpg"})
            ASSERT_TRUE(JpegFixture::write(path(name), exif));
        ASSERT_TRUE(TestFiles::write(path("shoot/clip.avi"), QByteArray(512, 'x')));
        m_browser = std::make_unique<ImageBrowserController>(m_settings.store);
        m_browser->itemActions()->setFileOpener([this](const QString& file) { m_opened << file; });
        open(path("shoot"));
    }
    void TearDown() override {
        m_browser.reset();
        QApplication::processEvents();
    }

    QString path(const char* relative) const { return m_root.filePath(QLatin1String(relative)); }
    void open(const QString& folder) {
        QSignalSpy done(&m_browser->content(), &BrowserContent::listingFinished);
        m_browser->openPath(folder, 0);
        ASSERT_TRUE(done.count() > 0 || done.wait(10000));
    }
    void select(std::initializer_list<const char*> names) {
        QStringList paths;
        for (const char* name : names)
            paths << path(name);
        m_browser->restoreBrowserSelection(paths);
        ASSERT_EQ(m_browser->selectedBrowserPaths().size(), qsizetype(names.size()));
    }
    QModelIndex indexOf(const char* name) const {
        return m_browser->content().model()->index(
            m_browser->content().model()->rowOfPath(path(name)));
    }
    QStringList imagePaths() const {
        return {path("shoot/a.jpg"), path("shoot/b.jpg"), path("shoot/c.jpg")};
    }
    BrowserItemActions& actions() const { return *m_browser->itemActions(); }

    QTemporaryDir m_root;
    PrivateSettings m_settings;
    std::unique_ptr<ImageBrowserController> m_browser;
    QStringList m_opened;
};

TEST_F(BrowserItemActionsTest, ReturnOpensAFolderShowsSelectedImagesAndIgnoresMixedSelections) {
    QSignalSpy viewer(m_browser.get(), &ImageBrowserController::viewerRequested);

    // An image and a folder: nothing at all.
    select({"shoot/a.jpg", "shoot/inner"});
    QTest::keyClick(m_browser->browserView(), Qt::Key_Return);
    EXPECT_EQ(viewer.count(), 0);
    EXPECT_EQ(m_browser->currentPath(), path("shoot"));

    // Three images: the viewer on exactly those, from the first.
    select({"shoot/c.jpg", "shoot/a.jpg", "shoot/b.jpg"});
    QTest::keyClick(m_browser->browserView(), Qt::Key_Return);
    ASSERT_EQ(viewer.count(), 1);
    EXPECT_EQ(viewer[0][0].toStringList(), imagePaths());
    EXPECT_FALSE(viewer[0][1].toBool());
    EXPECT_EQ(viewer[0][2].toInt(), 0);
    EXPECT_TRUE(viewer[0][3].value<QImage>().isNull());

    // One folder: the browser opens it.
    select({"shoot/inner"});
    QTest::keyClick(m_browser->browserView(), Qt::Key_Return);
    EXPECT_EQ(m_browser->currentPath(), path("shoot/inner"));
    EXPECT_EQ(viewer.count(), 1);
    EXPECT_TRUE(m_opened.isEmpty());
}

TEST_F(BrowserItemActionsTest,
       DoubleClicksOpenImagesInTheViewerFromTheirThumbnailAndMoviesOutside) {
    m_browser->resize(900, 600);
    m_browser->show();
    QSignalSpy viewer(m_browser.get(), &ImageBrowserController::viewerRequested);

    emit m_browser->browserView()->doubleClicked(indexOf("shoot/b.jpg"));
    ASSERT_EQ(viewer.count(), 1);
    EXPECT_EQ(viewer[0][0].toStringList(), imagePaths());
    EXPECT_EQ(viewer[0][2].toInt(), 1);
    const QRect rect = viewer[0][4].toRect();
    EXPECT_FALSE(rect.isEmpty());
    EXPECT_EQ(rect, actions().thumbnailScreenRect(
                        m_browser->content().model()->itemAt(indexOf("shoot/b.jpg").row())));

    emit m_browser->browserView()->doubleClicked(indexOf("shoot/clip.avi"));
    EXPECT_EQ(m_opened, QStringList{path("shoot/clip.avi")});
    EXPECT_EQ(viewer.count(), 1);
}

TEST_F(BrowserItemActionsTest, TheInformationPanelFollowsTheSelectionAndStepsAsideForTheViewer) {
    // Rows are read only while the panel shows, and then on the pool.
    select({"shoot/a.jpg"});
    QApplication::processEvents();
    EXPECT_TRUE(actions().currentItemInfo().isEmpty());
    actions().informationPanel()->toggle();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !actions().currentItemInfo().isEmpty(); }));
    const QList<InfoPanelRows::Row> rows = actions().currentItemInfo();
    ASSERT_GE(rows.size(), 5);
    EXPECT_EQ(rows[0], InfoPanelRows::Row(Localization::localizedString("Filename"), "a.jpg"));
    EXPECT_EQ(rows.last(),
              InfoPanelRows::Row(Localization::localizedString("Camera Make"), "Zentrovo"));
    QTableWidget* table = actions().informationPanel()->table();
    ASSERT_EQ(table->rowCount(), rows.size());
    EXPECT_EQ(table->item(0, 1)->text(), "a.jpg");
    EXPECT_GE(table->rowHeight(0), InfoPanel::rowHeight("a.jpg", 200));

    select({"shoot/a.jpg", "shoot/b.jpg"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return actions().currentItemInfo().isEmpty(); }));
    EXPECT_EQ(table->rowCount(), 0);
    actions().informationPanel()->toggle();

    // Ctrl+I shows the panel; opening the viewer hides it until the
    // browser window is active again.
    m_browser->show();
    m_browser->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_browser.get()));
    QTest::keySequence(m_browser.get(), QKeySequence(QStringLiteral("Ctrl+I")));
    ASSERT_TRUE(actions().informationPanel()->isVisible());
    select({"shoot/a.jpg"});
    actions().openBrowserItemFromMenu();
    EXPECT_FALSE(actions().informationPanel()->isVisible());
    EXPECT_TRUE(actions().informationPanel()->showOnBecomeKey());
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(m_browser.get(), &activate);
    EXPECT_TRUE(actions().informationPanel()->isVisible());
    EXPECT_FALSE(actions().informationPanel()->showOnBecomeKey());
    m_browser->findChild<QAction*>("informationAction")->trigger();
    EXPECT_FALSE(actions().informationPanel()->isVisible());
}

TEST_F(BrowserItemActionsTest, ADriveWithDcimOpensTheAssistantOnACameraAnyOtherOnItsFolder) {
    ASSERT_TRUE(QDir(m_root.path()).mkpath("card/DCIM/100TEST"));
    actions().downloadImagesFromDrive(path("card"));
    ASSERT_TRUE(actions().transferController());
    EXPECT_TRUE(actions().transferController()->camera());
    actions().transferController()->close();
    actions().downloadImagesFromDrive(path("shoot"));
    ASSERT_TRUE(actions().transferController());
    EXPECT_FALSE(actions().transferController()->camera());
    EXPECT_EQ(actions().transferController()->sourcePath(), path("shoot"));
    actions().transferController()->close();
}

TEST_F(BrowserItemActionsTest, QuickPreviewShowsTheSelectionAndStepsThroughIt) {
    QuickPreviewWindow* preview = actions().quickPreview();
    select({"shoot/inner", "shoot/a.jpg"});
    EXPECT_FALSE(m_browser->findChild<QAction*>("quicklook")->isEnabled());

    select({"shoot/b.jpg", "shoot/c.jpg", "shoot/clip.avi"});
    ASSERT_TRUE(m_browser->findChild<QAction*>("quicklook")->isEnabled());
    QSignalSpy shown(preview, &QuickPreviewWindow::imageShown);
    actions().quickLookBrowserItems();
    ASSERT_TRUE(preview->isVisible());
    EXPECT_EQ(preview->count(), 3);
    EXPECT_EQ(preview->itemAt(0)->path(), path("shoot/b.jpg"));
    EXPECT_EQ(preview->itemAt(3), nullptr);
    EXPECT_EQ(preview->itemAt(-1), nullptr);
    ASSERT_TRUE(shown.wait(10000));
    EXPECT_FALSE(preview->currentImage().isNull());

    QTest::keyClick(preview, Qt::Key_Left);
    EXPECT_EQ(preview->currentIndex(), 2);
    QTest::keyClick(preview, Qt::Key_Right);
    QTest::keyClick(preview, Qt::Key_Right);
    EXPECT_EQ(preview->currentIndex(), 1);
    QTest::keyClick(preview, Qt::Key_Space);
    EXPECT_FALSE(preview->isVisible());
}

TEST_F(BrowserItemActionsTest, TheStartAtLoginQuestionIsAskedOnceAndNoStillRecordsTheFirstRun) {
    StartAtLoginController login(QStringLiteral("com.zentrovo.pixhaul.launcher"),
                                 QStringLiteral("pixhaul-launcher"));
    login.setStartAtLogin(true);
    m_browser->show();
    const QString key = QLatin1String(SettingsKeys::first_run);
    ASSERT_FALSE(m_settings.store.objectForKey(key).isValid());

    ASSERT_TRUE(actions().askStartAtLoginIfFirstRun(login));
    EXPECT_EQ(m_settings.store.stringForKey(key), "1");
    auto* sheet = m_browser->findChild<QMessageBox*>();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->text(), Localization::localizedString("START_AT_LOGIN_TITLE"));
    QAbstractButton* no = nullptr;
    for (QAbstractButton* button : sheet->buttons()) {
        if (button->text() == Localization::localizedString("No"))
            no = button;
    }
    ASSERT_NE(no, nullptr);
    no->click();
    QApplication::processEvents();
    EXPECT_FALSE(login.startAtLogin());
    EXPECT_FALSE(login.isEnabled());

    // A second start (a new window, the same settings) asks nothing.
    ImageBrowserController again(m_settings.store);
    EXPECT_FALSE(again.itemActions()->askStartAtLoginIfFirstRun(login));
    EXPECT_EQ(again.findChild<QMessageBox*>(), nullptr);
}

TEST(InfoPanelMovies, AMovieTellsItsSizeDurationAndCodecsThroughFfmpeg) {
    QTemporaryDir folder;
    const QString movie = folder.filePath("clip.avi");
    QString reason;
    ASSERT_TRUE(MovieFixture::writeTwoColourMovie(movie, QSize(96, 64), 50, 25, &reason))
        << reason.toStdString();
    const MovieMetadata metadata = InfoPanel::readMovieMetadata(movie);
    EXPECT_EQ(metadata.pixelWidth, 96);
    EXPECT_EQ(metadata.pixelHeight, 64);
    ASSERT_TRUE(metadata.durationSeconds.has_value());
    EXPECT_NEAR(*metadata.durationSeconds, 2.0, 0.2);
    ASSERT_EQ(metadata.codecs.size(), 1); // video only
    EXPECT_FALSE(metadata.audioBitRate.has_value());

    const QList<InfoPanelRows::Row> rows =
        InfoPanelRows(&InfoPanel::readMovieMetadata).rowsForItem(movie, BrowserItemTypeMovie);
    ASSERT_GE(rows.size(), 6);
    EXPECT_EQ(rows[3], InfoPanelRows::Row(Localization::localizedString("Dimensions"), "96 x 64"));
    EXPECT_EQ(rows[4], InfoPanelRows::Row(Localization::localizedString("Duration"),
                                          StringUtils::stringFromDurationInSeconds(
                                              qint64(*metadata.durationSeconds))));
    EXPECT_EQ(rows[5].first, Localization::localizedString("Codecs"));

    EXPECT_EQ(InfoPanel::readMovieMetadata(folder.filePath("missing.avi")).codecs, QStringList());
}

} // namespace
