// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/BrowserItem.h"
#include "browser/DropOperation.h"

#include <QHash>
#include <QObject>
#include <QPersistentModelIndex>
#include <QPointer>
#include <QStringList>

#include <memory>

class FileOperationRun;
class ImageBrowserController;
class ProgressBarController;
class QAction;
class QMenu;
class QMimeData;
class QPoint;
class SourceListItem;

// What the browser window does to files and folders: the trash of files
// and folders behind their confirmation sheets, folder rename in the source
// list, new sub-folders, favourites, drops into folders, copy and paste of
// files, turning the selected images behind a progress sheet, the select-all
// variants, the context menus of the source list and the grid, and when
// each of these commands is available. Copies, moves and turns run on a
// worker; whatever fails is reported once, at the end.
//
// Installed by the browser, which owns it; adds its commands to the
// browser's menus. Main thread.
class BrowserFileActions : public QObject {
    Q_OBJECT
public:
    explicit BrowserFileActions(ImageBrowserController* browser);
    ~BrowserFileActions() override;

    // The commands by name ("delete", "copy", "paste", "renameItem",
    // "newFolder", "addFavorite", "revealFolder", "selectAll",
    // "selectAllFiles", "selectAllMedia", "autoRotate", "rotateImageRight",
    // "rotateImageLeft", "rotateImage180", "flipImageHorizontal",
    // "flipImageVertical"); null for another name.
    QAction* action(const QString& name) const { return m_actions.value(name); }
    // Enables the commands for the selection and the clipboard.
    void updateActions();

    // The source list's menu for a node (null for a group header; the
    // refresh menu for no node), and the grid's menus. The caller owns them.
    QMenu* sourceListMenu(SourceListItem* node);
    QMenu* backgroundMenu();
    QMenu* itemMenu();

    // Sub-folders can be renamed; favourites and drives themselves cannot.
    static bool canRenameFolder(const SourceListItem* node);

    void refreshSourceList();
    void refreshFolder(SourceListItem* node);
    void addToFavorites(SourceListItem* node);
    void addToFavorites(const QString& path);
    // Asks first; the path leaves the favourites on "Remove".
    void removeFromFavorites(SourceListItem* node);
    void revealFolder(const QString& path);
    // Starts editing the node's row in the source list.
    void renameFolder(SourceListItem* node);
    // An edit of the node's name is done.
    void finishFolderRename(SourceListItem* node, const QString& name);
    // Prompts for a name and makes a folder in `path`, else in the node.
    void createSubFolder(const QString& path, SourceListItem* node);
    // Ask first, then move to the Trash.
    void deleteFolder(SourceListItem* node);
    void deleteBrowserItems();
    // Moves the selected items to the Trash at once.
    void trashBrowserItems();

    void copyBrowserItems();
    // Copies the clipboard's files into the current folder, free names
    // found for the taken ones.
    void paste();
    // Drops `files` into `folder`: asks once when a destination exists.
    // False when the drop is refused (a folder into itself).
    bool prepareDropOperation(const QStringList& files, const QString& folder, quint64 operation);
    void processDrop(const DropOperation& drop);

    void autoRotate();
    // ImageTransform codes: 0 right, 1 left, 2 half turn, 3 and 4 flips.
    void transformImages(int transform);

    void selectAllFiles();
    void selectAll();
    void selectAllMedia();

    bool isRunning() const { return !m_runs.isEmpty(); }
    ProgressBarController* progressController() const { return m_progress.get(); }

signals:
    // A copy, move, paste or turn is over; `failed` names what failed.
    void operationFinished(const QStringList& failed);
    // The grid's menu for the selection is being made; others add to it
    // before the file commands are appended.
    void itemMenuAboutToShow(QMenu* menu);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* addAction(const QString& name, const QString& title, const QKeySequence& shortcut,
                       void (BrowserFileActions::*slot)());
    void installInMenus();
    void showSourceListMenu(const QPoint& position);
    void showGridMenu(const QPoint& globalPosition);
    void renameSelected();
    void deleteSelected();
    void createSubFolderHere();
    void addCurrentToFavorites();
    void revealCurrent();
    void setFavoriteFolders(const QStringList& folders);
    SourceListItem* nodeAt(const QPersistentModelIndex& index) const;
    QString dropFolder(QObject* view, const QPoint& position, const QMimeData* data) const;
    // Outlines the grid's folder cell under `position` (none elsewhere).
    void showDropTarget(QObject* view, const QPoint& position) const;
    void runOperation(const QStringList& items, const std::function<bool(const QString&)>& step,
                      bool withProgress);
    void operationDone(FileOperationRun* run, const QStringList& failed, bool withProgress);
    void closeProgressBarAfterDelay(int milliseconds);
    void selectWhere(const std::function<bool(const BrowserItem&)>& test);
    void reportFailures(const QStringList& failed);

    ImageBrowserController* m_browser;
    QHash<QString, QAction*> m_actions;
    QList<FileOperationRun*> m_runs;
    std::unique_ptr<ProgressBarController> m_progress;
    QPersistentModelIndex m_renaming;
};
