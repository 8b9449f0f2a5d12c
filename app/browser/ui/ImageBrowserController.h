// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/BrowserContent.h"
#include "browser/BrowserHistory.h"
#include "browser/MountedVolumes.h"
#include "browser/SourceListModel.h"

#include <QImage>
#include <QMainWindow>
#include <QRect>
#include <QStringList>

#include <optional>

class BrowserFileActions;
class BrowserItemActions;
class BrowserGridView;
class QAction;
class QLabel;
class QProgressBar;
class QSlider;
class QTreeView;
class ScopeBar;
class UserDefaults;

// The image browser, Pixhaul's main window ("ImageBrowser"): the source
// list of favourites and drives on the left, the grid of the current
// folder's sub-folders, images and movies on the right, with history, view
// options, zoom and the item count. A thin controller: the listing, filter,
// watcher and thumbnails live in BrowserContent, the tree in
// SourceListModel, the cells in BrowserGridView. Main thread.
class ImageBrowserController : public QMainWindow {
    Q_OBJECT
public:
    // Reads its settings from `settings`, which must outlive the window.
    explicit ImageBrowserController(UserDefaults& settings, QWidget* parent = nullptr);
    ~ImageBrowserController() override;

    // A file is shown selected in its folder; anything else is opened as a
    // folder (an empty path: "browser_folder", else ~/Pictures).
    void openPath(const QString& path);
    // Modes: 0 ordinary, 1 chosen in the source list, 2 back, 3 forward.
    void openPath(const QString& path, int mode);
    QString currentPath() const { return m_content.currentPath(); }

    // Segment 0 back, 1 forward.
    void historyMove(int segment);
    const BrowserHistory& history() const { return m_history; }

    // Lists the current folder again, keeping `selection` (paths) selected;
    // without one the reload is user-visible (busy indicator, count cleared).
    void refreshBrowserItemsWithSelection(const std::optional<QStringList>& selection);
    void forceRefreshBrowser();
    void filterBrowserItems();

    QList<BrowserItemPtr> selectedBrowserItems() const;
    QStringList selectedBrowserPaths() const;
    void restoreBrowserSelection(const QStringList& paths);
    void selectFile(const QString& path);

    void zoomChanged(int sliderValue);
    void showViewOptions();

    const QList<BrowserItemPtr>& browserItems() const { return m_content.browserItems(); }
    BrowserContent& content() { return m_content; }
    SourceListModel& sourceListModel() { return m_sourceList; }
    BrowserGridView* browserView() const { return m_browser; }
    QTreeView* sourceListView() const { return m_sourceListView; }
    QString itemCountText() const;

    // Reads the source list's roots again (favourites, drives).
    void refreshSourceListItems();
    void refreshFavorites();
    void refreshDevices();

    // The favourite folders; each change is stored in "browser_favorites"
    // and shown in the source list.
    const QStringList& favoriteFolders() const { return m_favoriteFolders; }
    void setFavoriteFolders(const QStringList& folders);
    UserDefaults& settings() const { return m_settings; }
    BrowserFileActions* fileActions() const { return m_fileActions; }
    BrowserItemActions* itemActions() const { return m_itemActions; }

signals:
    // Menu commands the application carries out.
    void importRequested(const QString& folder);
    void preferencesRequested();
    void aboutRequested();
    // The viewer on `paths` from `startIndex`, opening from `startingImage`
    // at `startRect` on screen (a null image and an empty rectangle: no
    // opening animation).
    void viewerRequested(const QStringList& paths, bool startSlideshow, int startIndex,
                         const QImage& startingImage, const QRect& startRect);

private:
    void buildMenus();
    void buildToolBar();
    void loadSettings();
    void storeFilter() const;
    SourceListItem* walkSourceList(const QString& path);
    void sourceListSelectionChanged();
    void listingStarted(bool userVisible);
    void listingFinished();
    void itemsAboutToChange();
    void itemsChanged();
    void updateItemCount();
    void updateHistoryActions();
    void updateThumbnailSize();
    void fillPathMenu();
    void chooseImportSource();

    UserDefaults& m_settings;
    BrowserContent m_content;
    SourceListModel m_sourceList;
    MountedVolumes m_volumes;
    BrowserHistory m_history;
    QStringList m_favoriteFolders;
    QString m_fileToSelect;
    QStringList m_keptSelection;
    QString m_keptCurrent;
    bool m_programmaticSelection = false;

    QTreeView* m_sourceListView = nullptr;
    BrowserGridView* m_browser = nullptr;
    ScopeBar* m_scopeBar = nullptr;
    QSlider* m_zoomSlider = nullptr;
    QLabel* m_browserInfo = nullptr;
    QProgressBar* m_waitSpin = nullptr;
    QAction* m_backAction = nullptr;
    QAction* m_forwardAction = nullptr;
    QAction* m_viewOptionsAction = nullptr;
    QMenu* m_pathMenu = nullptr;
    BrowserFileActions* m_fileActions = nullptr;
    BrowserItemActions* m_itemActions = nullptr;
};
