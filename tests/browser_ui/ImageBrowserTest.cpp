// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/ui/BrowserGridView.h"
#include "browser/ui/BrowserItemDelegate.h"
#include "browser/ui/ImageBrowserController.h"

#include "FileUtils.h"
#include "JpegFixture.h"
#include "PrivateSettings.h"
#include "TestFiles.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

namespace {

class ImageBrowserTest : public ::testing::Test {
protected:
    void SetUp() override {
        SettingsDefaults::registerDefaults(m_settings.store);
        // Reached through a favourite, whatever the machine mounts.
        m_settings.store.setObject(QStringList{m_root.path()},
                                   QLatin1String(SettingsKeys::browser_favorites));
        for (const char* name : {"a/one.jpg", "a/two.jpg", "b/three.jpg", "c/four.jpg"})
            ASSERT_TRUE(JpegFixture::write(path(QLatin1String(name)), {}));
        m_browser = std::make_unique<ImageBrowserController>(m_settings.store);
    }
    void TearDown() override {
        m_browser.reset();
        QApplication::processEvents();
    }

    QString path(const QString& relative) const { return m_root.filePath(relative); }
    // Opens `folder` and waits for its listing.
    void open(const QString& folder, int mode = 0) {
        QSignalSpy done(&m_browser->content(), &BrowserContent::listingFinished);
        m_browser->openPath(folder, mode);
        ASSERT_TRUE(done.count() > 0 || done.wait(10000));
    }
    QStringList shownTitles() const {
        QStringList titles;
        for (const BrowserItemPtr& item : m_browser->browserItems())
            titles << item->title();
        return titles;
    }

    QTemporaryDir m_root;
    PrivateSettings m_settings;
    std::unique_ptr<ImageBrowserController> m_browser;
};

TEST_F(ImageBrowserTest, OpensFoldersThroughTheSourceListAndSelectsAnOpenedFile) {
    open(path("a"));
    EXPECT_EQ(m_browser->currentPath(), path("a"));
    EXPECT_EQ(shownTitles(), (QStringList{"one.jpg", "two.jpg"}));
    EXPECT_EQ(m_browser->itemCountText(), "2 items");
    EXPECT_EQ(m_settings.store.stringForKey(QLatin1String(SettingsKeys::browser_folder)),
              path("a"));
    // The folder's node in the source list is the selected row.
    const QModelIndexList rows = m_browser->sourceListView()->selectionModel()->selectedRows();
    ASSERT_EQ(rows.size(), 1);
    EXPECT_EQ(m_browser->sourceListModel().itemForIndex(rows.first())->path(), path("a"));

    QSignalSpy done(&m_browser->content(), &BrowserContent::listingFinished);
    m_browser->openPath(path("b/three.jpg"));
    ASSERT_TRUE(done.wait(10000));
    EXPECT_EQ(m_browser->selectedBrowserPaths(), QStringList{path("b/three.jpg")});
}

TEST_F(ImageBrowserTest, HistoryGoesBackAndForwardAndANewFolderClearsForward) {
    open(path("a"));
    open(path("b"));
    open(path("c"));
    m_browser->historyMove(0);
    m_browser->historyMove(0);
    EXPECT_EQ(m_browser->currentPath(), path("a"));
    m_browser->historyMove(1);
    EXPECT_EQ(m_browser->currentPath(), path("b"));
    EXPECT_TRUE(m_browser->history().canGoForward());
    open(path("a"));
    EXPECT_FALSE(m_browser->history().canGoForward());
    EXPECT_EQ(m_browser->history().visitedPaths().last(), path("b"));
}

TEST_F(ImageBrowserTest, FiltersApplyWithoutListingAgain) {
    ASSERT_TRUE(QDir().mkpath(path("a/sub")));
    open(path("a"));
    EXPECT_EQ(shownTitles(), (QStringList{"sub", "one.jpg", "two.jpg"}));
    QSignalSpy listings(&m_browser->content(), &BrowserContent::listingStarted);
    BrowserFilter noFolders = m_browser->content().filter();
    noFolders.showFolders = false;
    m_browser->content().setFilter(noFolders);
    EXPECT_EQ(shownTitles(), (QStringList{"one.jpg", "two.jpg"}));
    noFolders.showFolders = true;
    m_browser->content().setFilter(noFolders);
    EXPECT_EQ(shownTitles().size(), 3);
    EXPECT_EQ(listings.count(), 0);
}

TEST_F(ImageBrowserTest, ABurstOfChangesListsAtMostTwiceAndKeepsTheSelection) {
    open(path("a"));
    m_browser->selectFile(path("a/two.jpg"));
    QSignalSpy listings(&m_browser->content(), &BrowserContent::listingStarted);
    for (int i = 0; i < 10; ++i) {
        ASSERT_TRUE(TestFiles::write(path(QStringLiteral("a/new%1.jpg").arg(i)), "x"));
        QTest::qWait(30);
    }
    QTest::qWait(2 * BrowserContent::kChangeDelayMs + 500);
    EXPECT_GE(listings.count(), 1);
    EXPECT_LE(listings.count(), 2);
    EXPECT_EQ(m_browser->browserItems().size(), 12);
    EXPECT_EQ(m_browser->selectedBrowserPaths(), QStringList{path("a/two.jpg")});
}

TEST_F(ImageBrowserTest, RenameInTheCell) {
    open(path("a"));
    m_browser->show();
    BrowserGridView* grid = m_browser->browserView();
    const auto editName = [&](const QString& title) -> QLineEdit* {
        m_browser->selectFile(path(QStringLiteral("a/") + title));
        grid->edit(grid->currentIndex());
        return grid->findChild<QLineEdit*>(QStringLiteral("editLabel"));
    };
    // The base name is selected; Escape keeps the old name.
    QLineEdit* field = editName("one.jpg");
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->selectedText(), "one");
    field->setText("renamed.jpg");
    QTest::keyClick(field, Qt::Key_Escape);
    EXPECT_TRUE(QFileInfo::exists(path("a/one.jpg")));

    // A name with "/" is refused with the alert; the file keeps its name.
    field = editName("one.jpg");
    ASSERT_NE(field, nullptr);
    field->setText("bad/name.jpg");
    QTimer::singleShot(200, [] {
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(window); box && box->isVisible())
                box->accept();
    });
    QTest::keyClick(field, Qt::Key_Return);
    QTest::qWait(400);
    EXPECT_TRUE(QFileInfo::exists(path("a/one.jpg")));

    // Choosing another cell commits the edit.
    field = editName("one.jpg");
    ASSERT_NE(field, nullptr);
    field->setText("kept.jpg");
    m_browser->selectFile(path("a/two.jpg"));
    grid->setFocus();
    QApplication::processEvents();
    EXPECT_TRUE(QFileInfo::exists(path("a/kept.jpg")));
    EXPECT_FALSE(QFileInfo::exists(path("a/one.jpg")));

    // A click on the selected cell's name edits it after the delay; a
    // double click there opens the item and edits nothing.
    const QModelIndex two = grid->currentIndex();
    const QPoint name = BrowserItemDelegate::labelRect(grid->visualRect(two)).center();
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, name);
    QTest::qWait(BrowserGridView::kRenameDelayMs + 200);
    EXPECT_EQ(grid->indexWidget(two), nullptr);
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, name);
    QTest::qWait(BrowserGridView::kRenameDelayMs + 200);
    EXPECT_NE(grid->indexWidget(two), nullptr);
}

} // namespace
