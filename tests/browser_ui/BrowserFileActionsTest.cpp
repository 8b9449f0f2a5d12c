// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/ui/BrowserFileActions.h"
#include "browser/ui/BrowserGridView.h"
#include "browser/ui/ImageBrowserController.h"

#include "JpegFixture.h"
#include "Localization.h"
#include "PrivateSettings.h"
#include "TestFiles.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"
#include "widgets/PasteboardUtils.h"
#include "widgets/ProgressBarController.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTest>
#include <QTreeView>

#include <gtest/gtest.h>

using Localization::localizedString;

namespace {

class BrowserFileActionsTest : public ::testing::Test {
protected:
    void SetUp() override {
        SettingsDefaults::registerDefaults(m_settings.store);
        m_settings.store.setObject(QStringList{m_root.path()},
                                   QLatin1String(SettingsKeys::browser_favorites));
        for (const char* name : {"a/one.jpg", "a/two.jpg", "a/three.jpg", "b/two.jpg"})
            ASSERT_TRUE(JpegFixture::write(path(QLatin1String(name)), {}));
        // An MP4 header is enough to be listed as a movie.
        ASSERT_TRUE(TestFiles::write(path("a/clip.mp4"), QByteArray("\0\0\0\x18"
                                                                    "ftypmp42\0\0\0\0mp42isom",
                                                                    24) +
                                                             QByteArray(64, '\0')));
        ASSERT_TRUE(QDir().mkpath(path("a/sub")));
        m_browser = std::make_unique<ImageBrowserController>(m_settings.store);
        m_actions = m_browser->fileActions();
        ASSERT_NE(m_actions, nullptr);
    }
    void TearDown() override {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(window))
                box->close();
        }
        m_browser.reset();
        QApplication::processEvents();
    }

    QString path(const QString& relative) const { return m_root.filePath(relative); }
    void open(const QString& folder) {
        QSignalSpy done(&m_browser->content(), &BrowserContent::listingFinished);
        m_browser->openPath(folder, 0);
        ASSERT_TRUE(done.count() > 0 || done.wait(10000));
    }
    // The node of an already read folder, through the favourites.
    SourceListItem* node(const QString& folder) const {
        std::function<SourceListItem*(SourceListItem*)> find = [&](SourceListItem* parent) {
            for (const SourceListItemPtr& child : parent->children()) {
                if (child->path() == folder)
                    return child.get();
                if (SourceListItem* found = find(child.get()))
                    return found;
            }
            return static_cast<SourceListItem*>(nullptr);
        };
        return find(m_browser->sourceListModel().favoritesRootItem());
    }
    static QStringList titles(QMenu* menu) {
        QStringList shown;
        for (QAction* entry : menu->actions()) {
            if (!entry->isSeparator())
                shown.append(entry->text());
        }
        return shown;
    }
    // Presses a button of the alert on screen; false without one.
    static bool answer(const QString& button) {
        QApplication::processEvents();
        for (QWidget* window : QApplication::topLevelWidgets()) {
            auto* box = qobject_cast<QMessageBox*>(window);
            if (!box || !box->isVisible())
                continue;
            for (QAbstractButton* choice : box->buttons()) {
                if (choice->text() == button) {
                    choice->click();
                    QApplication::processEvents();
                    return true;
                }
            }
        }
        return false;
    }
    bool enabled(const char* name) const {
        return m_actions->action(QLatin1String(name))->isEnabled();
    }
    QStringList favorites() const {
        return m_settings.store.stringArrayForKey(QLatin1String(SettingsKeys::browser_favorites));
    }

    QTemporaryDir m_root;
    PrivateSettings m_settings;
    std::unique_ptr<ImageBrowserController> m_browser;
    BrowserFileActions* m_actions = nullptr;
};

TEST_F(BrowserFileActionsTest, SourceListMenusOfferWhatEachNodeAllows) {
    open(path("a/sub"));
    m_browser->sourceListModel().refreshDevices({path("b")});
    SourceListModel& model = m_browser->sourceListModel();
    SourceListItem* drive = model.devicesRootItem()->children().at(0).get();
    const QString refresh = localizedString("Refresh");
    const QString newFolder = localizedString("New Folder");
    const QString reveal = localizedString("Show in File Manager");
    const QString rename = localizedString("Rename");
    const QString trash = localizedString("Move to Trash");
    const struct {
        const char* what;
        SourceListItem* node;
        QStringList expected;
    } cases[] = {
        {"favourite",
         node(m_root.path()),
         {localizedString("Remove from Favorites"), refresh, newFolder, reveal, trash}},
        {"sub-folder",
         node(path("a")),
         {localizedString("Add to Favorites"), refresh, newFolder, reveal, rename, trash}},
        {"drive",
         drive,
         {localizedString("Add to Favorites"), localizedString("Transfer images..."), refresh,
          newFolder, reveal}},
        {"empty space", nullptr, {refresh}},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.what);
        std::unique_ptr<QMenu> menu(m_actions->sourceListMenu(entry.node));
        ASSERT_TRUE(menu);
        EXPECT_EQ(titles(menu.get()), entry.expected);
    }
    EXPECT_EQ(m_actions->sourceListMenu(model.favoritesRootItem()), nullptr);
    EXPECT_FALSE(BrowserFileActions::canRenameFolder(drive));
    EXPECT_FALSE(BrowserFileActions::canRenameFolder(node(m_root.path())));
    EXPECT_TRUE(BrowserFileActions::canRenameFolder(node(path("a/sub"))));
    // Only sub-folders can be edited in place.
    EXPECT_FALSE(model.flags(model.indexForItem(drive)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.flags(model.indexForItem(node(path("a")))) & Qt::ItemIsEditable);

    std::unique_ptr<QMenu> background(m_actions->backgroundMenu());
    EXPECT_EQ(titles(background.get()), (QStringList{newFolder, refresh}));
    EXPECT_EQ(background->actions().at(0)->data().toString(), path("a/sub"));
}

TEST_F(BrowserFileActionsTest, CommandsFollowTheSelection) {
    open(path("a"));
    const struct {
        const char* what;
        QStringList selection;
        bool any;
        bool turnable;
    } cases[] = {
        {"nothing", {}, false, false},
        {"two images", {path("a/one.jpg"), path("a/two.jpg")}, true, true},
        {"an image and a movie", {path("a/one.jpg"), path("a/clip.mp4")}, true, false},
        {"an image and a folder", {path("a/one.jpg"), path("a/sub")}, true, false},
        {"a movie", {path("a/clip.mp4")}, true, false},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.what);
        m_browser->restoreBrowserSelection(entry.selection);
        ASSERT_EQ(m_browser->selectedBrowserPaths().size(), entry.selection.size());
        EXPECT_EQ(enabled("delete"), entry.any);
        EXPECT_EQ(enabled("copy"), entry.any);
        for (const char* turn : {"autoRotate", "rotateImageRight", "rotateImageLeft",
                                 "rotateImage180", "flipImageHorizontal", "flipImageVertical"})
            EXPECT_EQ(enabled(turn), entry.turnable) << turn;
    }
    PasteboardUtils::putFilenames({path("b/two.jpg")});
    EXPECT_TRUE(enabled("paste"));
    QApplication::clipboard()->clear();
    QApplication::processEvents();
    EXPECT_FALSE(enabled("paste"));
    const struct {
        const char* shortcut;
        const char* action;
    } shortcuts[] = {{"Del", "delete"},
                     {"F2", "renameItem"},
                     {"Ctrl+C", "copy"},
                     {"Ctrl+V", "paste"},
                     {"Ctrl+A", "selectAll"},
                     {"Ctrl+R", "rotateImageRight"},
                     {"Ctrl+L", "rotateImageLeft"}};
    for (const auto& entry : shortcuts)
        EXPECT_EQ(m_actions->action(QLatin1String(entry.action))->shortcut(),
                  QKeySequence(QLatin1String(entry.shortcut)))
            << entry.action;
}

TEST_F(BrowserFileActionsTest, SelectAllVariantsPickTheirKinds) {
    open(path("a"));
    BrowserFileActions* actions = m_actions;
    const struct {
        const char* what;
        std::function<void()> select;
        int expected;
    } cases[] = {
        {"images", [actions] { actions->selectAll(); }, 3},
        {"images and movies", [actions] { actions->selectAllMedia(); }, 4},
        {"everything", [actions] { actions->selectAllFiles(); }, 5},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.what);
        m_browser->restoreBrowserSelection({path("a/sub")});
        entry.select();
        EXPECT_EQ(m_browser->selectedBrowserPaths().size(), entry.expected);
    }
}

TEST_F(BrowserFileActionsTest, RenamingTheParentOfTheCurrentFolderReopensIt) {
    open(path("a/sub"));
    SourceListItem* parent = node(path("a"));
    ASSERT_NE(parent, nullptr);
    m_actions->finishFolderRename(parent, QStringLiteral("renamed"));
    EXPECT_TRUE(QFileInfo(path("renamed/sub")).isDir());
    EXPECT_EQ(parent->path(), path("renamed"));
    EXPECT_EQ(parent->title(), "renamed");
    EXPECT_EQ(m_browser->currentPath(), path("renamed/sub"));
    ASSERT_NE(node(path("renamed/sub")), nullptr); // descendants re-pathed

    // The same name changes nothing.
    m_actions->finishFolderRename(parent, QStringLiteral("renamed"));
    EXPECT_EQ(m_browser->currentPath(), path("renamed/sub"));
}

TEST_F(BrowserFileActionsTest, FavouritesAreStoredOnceAndRemovedAfterAsking) {
    open(path("a"));
    m_actions->addToFavorites(node(path("a")));
    m_actions->addToFavorites(node(path("a")));
    EXPECT_EQ(favorites(), (QStringList{m_root.path(), path("a")}));
    EXPECT_EQ(m_browser->favoriteFolders(), favorites());
    ASSERT_EQ(m_browser->sourceListModel().favoritesRootItem()->children().size(), 2u);

    SourceListItem* added =
        m_browser->sourceListModel().favoritesRootItem()->children().at(1).get();
    m_actions->removeFromFavorites(added);
    ASSERT_TRUE(answer(localizedString("Cancel")));
    EXPECT_EQ(favorites().size(), 2);
    m_actions->removeFromFavorites(added);
    ASSERT_TRUE(answer(localizedString("Remove")));
    EXPECT_EQ(favorites(), QStringList{m_root.path()});
}

TEST_F(BrowserFileActionsTest, DropsAskOnceAndStopLeavesEverything) {
    open(path("a"));
    QSignalSpy finished(m_actions, &BrowserFileActions::operationFinished);
    const QStringList three{path("a/one.jpg"), path("a/two.jpg"), path("a/three.jpg")};
    ASSERT_TRUE(TestFiles::write(path("b/two.jpg"), "old two"));

    // Onto their own folder: nothing at all.
    EXPECT_TRUE(m_actions->prepareDropOperation(three, path("a"), DropOperation::kMove));
    EXPECT_FALSE(answer(QStringLiteral("Replace")));
    EXPECT_FALSE(m_actions->isRunning());

    // One conflict: asked once; "Stop" leaves all three where they were.
    EXPECT_TRUE(m_actions->prepareDropOperation(three, path("b"), DropOperation::kMove));
    ASSERT_TRUE(answer(QStringLiteral("Stop")));
    EXPECT_FALSE(answer(QStringLiteral("Stop")));
    for (const QString& file : three)
        EXPECT_TRUE(QFileInfo::exists(file)) << file.toStdString();
    EXPECT_FALSE(QFileInfo::exists(path("b/one.jpg")));
    EXPECT_EQ(TestFiles::read(path("b/two.jpg")), "old two");

    // "Replace" moves all three.
    EXPECT_TRUE(m_actions->prepareDropOperation(three, path("b"), DropOperation::kMove));
    ASSERT_TRUE(answer(QStringLiteral("Replace")));
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(finished.first().at(0).toStringList().isEmpty());
    for (const char* name : {"one.jpg", "two.jpg", "three.jpg"}) {
        EXPECT_FALSE(QFileInfo::exists(path(QStringLiteral("a/") + QLatin1String(name))));
        EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("b/") + QLatin1String(name))));
    }
    EXPECT_NE(TestFiles::read(path("b/two.jpg")), "old two");

    // A copy without conflict goes at once; a folder into itself is refused.
    finished.clear();
    EXPECT_TRUE(
        m_actions->prepareDropOperation({path("b/one.jpg")}, path("a"), DropOperation::kCopy));
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_TRUE(QFileInfo::exists(path("a/one.jpg")));
    EXPECT_TRUE(QFileInfo::exists(path("b/one.jpg")));
    EXPECT_FALSE(m_actions->prepareDropOperation({path("a")}, path("a/sub"), DropOperation::kMove));
    EXPECT_TRUE(answer(localizedString("OK"))); // told, once
    EXPECT_TRUE(QFileInfo(path("a/sub")).isDir());
    EXPECT_FALSE(QFileInfo::exists(path("a/sub/a")));
}

TEST_F(BrowserFileActionsTest, DragsOverAFolderCellOutlineItAndCopyWithCtrl) {
    m_browser->resize(900, 600);
    m_browser->show();
    open(path("a"));
    BrowserGridView* grid = m_browser->browserView();
    const QModelIndex sub =
        m_browser->content().model()->index(m_browser->content().model()->rowOfPath(path("a/sub")));
    ASSERT_TRUE(sub.isValid());
    QMimeData files;
    files.setUrls({QUrl::fromLocalFile(path("b/two.jpg"))});
    // Qt hands drag events to widgets only inside a real drag: straight to
    // the filter the viewport's events go through.
    const auto deliver = [&](QEvent* event) {
        return static_cast<QObject*>(m_actions)->eventFilter(grid->viewport(), event);
    };
    const struct {
        Qt::KeyboardModifiers modifiers;
        Qt::DropAction expected;
    } cases[] = {{Qt::NoModifier, Qt::MoveAction},
                 {Qt::ControlModifier, Qt::CopyAction},
                 {Qt::AltModifier, Qt::CopyAction}};
    for (const auto& entry : cases) {
        QDragMoveEvent move(grid->visualRect(sub).center(), Qt::CopyAction | Qt::MoveAction, &files,
                            Qt::LeftButton, entry.modifiers);
        deliver(&move);
        EXPECT_TRUE(move.isAccepted());
        EXPECT_EQ(move.dropAction(), entry.expected);
        EXPECT_EQ(grid->dropTarget(), sub);
    }
    QDragLeaveEvent leave;
    deliver(&leave);
    EXPECT_FALSE(grid->dropTarget().isValid());
}

TEST_F(BrowserFileActionsTest, PasteCopiesUnderFreeNames) {
    open(path("a"));
    QSignalSpy finished(m_actions, &BrowserFileActions::operationFinished);
    m_browser->restoreBrowserSelection({path("a/one.jpg")});
    m_actions->copyBrowserItems();
    EXPECT_EQ(PasteboardUtils::getFilenames(), QStringList{path("a/one.jpg")});
    for (const char* expected : {"a/one 2.jpg", "a/one 3.jpg"}) {
        m_actions->paste();
        ASSERT_TRUE(finished.wait(10000));
        EXPECT_EQ(TestFiles::read(path(QLatin1String(expected))),
                  TestFiles::read(path("a/one.jpg")));
    }
}

TEST_F(BrowserFileActionsTest, TrashMovesTheSelectionAfterAsking) {
    open(path("a"));
    m_browser->restoreBrowserSelection({path("a/one.jpg"), path("a/two.jpg")});
    m_actions->deleteBrowserItems();
    ASSERT_TRUE(answer(localizedString("Cancel")));
    EXPECT_TRUE(QFileInfo::exists(path("a/one.jpg")));
    m_actions->deleteBrowserItems();
    ASSERT_TRUE(answer(localizedString("Delete")));
    EXPECT_FALSE(QFileInfo::exists(path("a/one.jpg")));
    EXPECT_FALSE(QFileInfo::exists(path("a/two.jpg")));
    EXPECT_TRUE(QFileInfo::exists(path("a/three.jpg")));
    const QString trash = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                          QStringLiteral("/Trash/files");
    EXPECT_TRUE(QFileInfo::exists(trash + QStringLiteral("/one.jpg")));
}

TEST_F(BrowserFileActionsTest, TurnsRunBehindAProgressSheetAndReportFailuresOnce) {
    open(path("a"));
    QSignalSpy finished(m_actions, &BrowserFileActions::operationFinished);
    const struct {
        const char* what;
        std::function<void()> run;
        QSize expected;
    } cases[] = {
        {"right", [this] { m_actions->transformImages(0); }, QSize(32, 64)},
        {"half turn", [this] { m_actions->transformImages(2); }, QSize(32, 64)},
        {"left", [this] { m_actions->transformImages(1); }, QSize(64, 32)},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.what);
        m_browser->restoreBrowserSelection({path("a/one.jpg"), path("a/two.jpg")});
        finished.clear();
        entry.run();
        ASSERT_NE(m_actions->progressController(), nullptr);
        EXPECT_EQ(m_actions->progressController()->maximum(), 2.0);
        ASSERT_TRUE(finished.wait(20000));
        EXPECT_TRUE(finished.first().at(0).toStringList().isEmpty());
        for (const char* name : {"a/one.jpg", "a/two.jpg"})
            EXPECT_EQ(QImage(path(QLatin1String(name))).size(), entry.expected) << name;
        EXPECT_EQ(QImage(path("a/three.jpg")).size(), QSize(64, 32));
    }

    // A file that cannot be turned is named once, at the end.
    ASSERT_TRUE(TestFiles::write(path("a/broken.jpg"), "not a picture"));
    QSignalSpy done(&m_browser->content(), &BrowserContent::listingFinished);
    m_browser->forceRefreshBrowser();
    ASSERT_TRUE(done.wait(10000));
    m_browser->restoreBrowserSelection({path("a/broken.jpg"), path("a/three.jpg")});
    finished.clear();
    m_actions->transformImages(3);
    ASSERT_TRUE(finished.wait(20000));
    EXPECT_EQ(finished.first().at(0).toStringList(), QStringList{path("a/broken.jpg")});
    EXPECT_TRUE(answer(localizedString("OK")));
    EXPECT_FALSE(answer(localizedString("OK")));
}

} // namespace
