// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserFileActions.h"

#include "BrowserGridView.h"
#include "BrowserItemActions.h"
#include "ImageBrowserController.h"

#include "FileUtils.h"
#include "ImageUtils.h"
#include "Localization.h"
#include "UserDefaults.h"
#include "browser/FileOperationRun.h"
#include "browser/FreeName.h"
#include "browser/ItemReplacement.h"
#include "settings/SettingsKeys.h"
#include "transfer/ui/PromptValueController.h"
#include "widgets/AlertSheet.h"
#include "widgets/EventUtils.h"
#include "widgets/FileManagerRename.h"
#include "widgets/PasteboardUtils.h"
#include "widgets/ProgressBarController.h"

#include <QAbstractItemDelegate>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QDir>
#include <QDropEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QTimer>
#include <QTreeView>
#include <QUrl>

using Localization::localizedString;

namespace {

// The longest list of names a failure report shows.
constexpr int kReportedNames = 10;

QMenu* menuTitled(QMenuBar* bar, const char* key) {
    const QString title = localizedString(key);
    for (QAction* entry : bar->actions()) {
        if (entry->menu() && entry->text() == title)
            return entry->menu();
    }
    return nullptr;
}

quint64 operationFor(Qt::DropAction action) {
    return action == Qt::CopyAction ? DropOperation::kCopy : DropOperation::kMove;
}

} // namespace

BrowserFileActions::BrowserFileActions(ImageBrowserController* browser)
    : QObject(browser)
    , m_browser(browser) {
    addAction(QStringLiteral("delete"), localizedString("Move to Trash"),
              QKeySequence(Qt::Key_Delete), &BrowserFileActions::deleteSelected);
    addAction(QStringLiteral("renameItem"), localizedString("Rename"), QKeySequence(Qt::Key_F2),
              &BrowserFileActions::renameSelected);
    addAction(QStringLiteral("copy"), localizedString("Copy"), QKeySequence::Copy,
              &BrowserFileActions::copyBrowserItems);
    addAction(QStringLiteral("paste"), localizedString("Paste"), QKeySequence::Paste,
              &BrowserFileActions::paste);
    addAction(QStringLiteral("newFolder"), localizedString("New Folder"),
              QKeySequence(QStringLiteral("Ctrl+Shift+N")),
              &BrowserFileActions::createSubFolderHere);
    addAction(QStringLiteral("addFavorite"), localizedString("Add to Favorites"),
              QKeySequence(QStringLiteral("Ctrl+D")), &BrowserFileActions::addCurrentToFavorites);
    addAction(QStringLiteral("revealFolder"), localizedString("Show in File Manager"), {},
              &BrowserFileActions::revealCurrent);
    addAction(QStringLiteral("selectAll"), localizedString("Select All"), QKeySequence::SelectAll,
              &BrowserFileActions::selectAll);
    addAction(QStringLiteral("selectAllFiles"), localizedString("Select All Files"),
              QKeySequence(QStringLiteral("Ctrl+Shift+A")), &BrowserFileActions::selectAllFiles);
    addAction(QStringLiteral("selectAllMedia"), localizedString("Select All Media"),
              QKeySequence(QStringLiteral("Ctrl+Alt+A")), &BrowserFileActions::selectAllMedia);
    addAction(QStringLiteral("autoRotate"), localizedString("Auto Rotate"), {},
              &BrowserFileActions::autoRotate);
    const struct {
        const char* name;
        const char* title;
        const char* shortcut;
        int transform;
    } transforms[] = {
        {"rotateImageRight", "Rotate Right", "Ctrl+R", 0},
        {"rotateImageLeft", "Rotate Left", "Ctrl+L", 1},
        {"rotateImage180", "Rotate 180", "", 2},
        {"flipImageHorizontal", "Flip Horizontal", "", 3},
        {"flipImageVertical", "Flip Vertical", "", 4},
    };
    for (const auto& entry : transforms) {
        auto* command = new QAction(localizedString(entry.title), m_browser);
        command->setObjectName(QLatin1String(entry.name));
        command->setShortcut(QKeySequence(QLatin1String(entry.shortcut)));
        const int transform = entry.transform;
        connect(command, &QAction::triggered, this,
                [this, transform] { transformImages(transform); });
        m_browser->addAction(command);
        m_actions.insert(command->objectName(), command);
    }
    installInMenus();

    BrowserGridView* grid = m_browser->browserView();
    connect(grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BrowserFileActions::updateActions);
    connect(&m_browser->content(), &BrowserContent::itemsChanged, this,
            &BrowserFileActions::updateActions);
    connect(QApplication::clipboard(), &QClipboard::dataChanged, this,
            &BrowserFileActions::updateActions);
    connect(grid, &BrowserGridView::contextMenuAt, this, &BrowserFileActions::showGridMenu);
    grid->viewport()->setAcceptDrops(true);
    grid->viewport()->installEventFilter(this);

    QTreeView* sourceList = m_browser->sourceListView();
    sourceList->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(sourceList, &QWidget::customContextMenuRequested, this,
            &BrowserFileActions::showSourceListMenu);
    sourceList->viewport()->setAcceptDrops(true);
    sourceList->viewport()->installEventFilter(this);
    // An edit of a folder's name ends here; the model itself keeps names.
    connect(sourceList->itemDelegate(), &QAbstractItemDelegate::commitData, this,
            [this](QWidget* editor) {
                auto* field = qobject_cast<QLineEdit*>(editor);
                const QPersistentModelIndex edited = m_renaming;
                if (!field || !edited.isValid())
                    return;
                const QString name = field->text();
                QTimer::singleShot(0, this, [this, edited, name] {
                    if (SourceListItem* node = nodeAt(edited))
                        finishFolderRename(node, name);
                });
            });
    updateActions();
}

BrowserFileActions::~BrowserFileActions() {
    // Running operations wait for their step under way.
    qDeleteAll(m_runs);
}

QAction* BrowserFileActions::addAction(const QString& name, const QString& title,
                                       const QKeySequence& shortcut,
                                       void (BrowserFileActions::*slot)()) {
    auto* command = new QAction(title, m_browser);
    command->setObjectName(name);
    command->setShortcut(shortcut);
    connect(command, &QAction::triggered, this, slot);
    m_browser->addAction(command);
    m_actions.insert(name, command);
    return command;
}

void BrowserFileActions::installInMenus() {
    QMenuBar* bar = m_browser->menuBar();
    if (QMenu* file = menuTitled(bar, "MENU_FILE")) {
        QAction* first = file->actions().value(0);
        file->insertActions(first, {action(QStringLiteral("newFolder")),
                                    action(QStringLiteral("addFavorite")),
                                    action(QStringLiteral("revealFolder"))});
        file->insertSeparator(first);
        file->insertAction(first, action(QStringLiteral("delete")));
        file->insertSeparator(first);
    }
    if (QMenu* edit = menuTitled(bar, "MENU_EDIT")) {
        QAction* first = edit->actions().value(0);
        edit->insertActions(first, {action(QStringLiteral("copy")), action(QStringLiteral("paste")),
                                    action(QStringLiteral("renameItem"))});
        edit->insertSeparator(first);
        edit->insertActions(first, {action(QStringLiteral("selectAll")),
                                    action(QStringLiteral("selectAllFiles")),
                                    action(QStringLiteral("selectAllMedia"))});
        edit->insertSeparator(first);
    }
    auto* image = new QMenu(localizedString("MENU_IMAGE"), m_browser);
    for (const char* name : {"rotateImageRight", "rotateImageLeft", "rotateImage180",
                             "flipImageHorizontal", "flipImageVertical", "autoRotate"})
        image->addAction(action(QLatin1String(name)));
    QMenu* go = menuTitled(bar, "MENU_GO");
    bar->insertMenu(go ? go->menuAction() : nullptr, image);
}

void BrowserFileActions::updateActions() {
    const QList<BrowserItemPtr> selected = m_browser->selectedBrowserItems();
    bool images = false;
    bool movies = false;
    bool folders = false;
    for (const BrowserItemPtr& item : selected) {
        images |= item->type() == BrowserItemTypeImage;
        movies |= item->type() == BrowserItemTypeMovie;
        folders |= item->type() == BrowserItemTypeFolder;
    }
    action(QStringLiteral("delete"))->setEnabled(!selected.isEmpty());
    action(QStringLiteral("copy"))->setEnabled(!selected.isEmpty());
    action(QStringLiteral("paste"))->setEnabled(!PasteboardUtils::getFilenames().isEmpty());
    const bool turnable = images && !folders && !movies;
    for (const char* name : {"autoRotate", "rotateImageRight", "rotateImageLeft", "rotateImage180",
                             "flipImageHorizontal", "flipImageVertical"})
        action(QLatin1String(name))->setEnabled(turnable);
}

bool BrowserFileActions::canRenameFolder(const SourceListItem* node) {
    return node && !node->isGroupHeader() && node->parent() && !node->parent()->isGroupHeader();
}

SourceListItem* BrowserFileActions::nodeAt(const QPersistentModelIndex& index) const {
    return index.isValid() ? m_browser->sourceListModel().itemForIndex(index) : nullptr;
}

QMenu* BrowserFileActions::sourceListMenu(SourceListItem* node) {
    auto* menu = new QMenu(m_browser);
    if (!node) {
        menu->addAction(localizedString("Refresh"), this, &BrowserFileActions::refreshSourceList);
        return menu;
    }
    if (node->isGroupHeader()) {
        delete menu;
        return nullptr;
    }
    SourceListModel& model = m_browser->sourceListModel();
    const QPersistentModelIndex row(model.indexForItem(node));
    const QString path = node->path();
    const SourceListItem* parent = node->parent();
    const bool favorite = parent == model.favoritesRootItem();
    const bool drive = parent == model.devicesRootItem();
    auto addCommand = [&](const char* title, const std::function<void(SourceListItem*)>& run) {
        QAction* entry = menu->addAction(localizedString(title));
        entry->setData(path);
        connect(entry, &QAction::triggered, this, [this, row, run] {
            if (SourceListItem* clicked = nodeAt(row))
                run(clicked);
        });
    };
    if (favorite) {
        addCommand("Remove from Favorites",
                   [this](SourceListItem* clicked) { removeFromFavorites(clicked); });
    } else {
        addCommand("Add to Favorites",
                   [this](SourceListItem* clicked) { addToFavorites(clicked); });
    }
    menu->addSeparator();
    if (drive) {
        QAction* transfer = menu->addAction(localizedString("Transfer images..."));
        transfer->setData(path);
        connect(transfer, &QAction::triggered, m_browser, [this, path] {
            if (BrowserItemActions* items = m_browser->itemActions())
                items->downloadImagesFromDrive(path);
        });
        menu->addSeparator();
    }
    addCommand("Refresh", [this](SourceListItem* clicked) { refreshFolder(clicked); });
    addCommand("New Folder",
               [this](SourceListItem* clicked) { createSubFolder(QString(), clicked); });
    menu->addSeparator();
    addCommand("Show in File Manager",
               [this](SourceListItem* clicked) { revealFolder(clicked->path()); });
    if (canRenameFolder(node))
        addCommand("Rename", [this](SourceListItem* clicked) { renameFolder(clicked); });
    if (!drive)
        addCommand("Move to Trash", [this](SourceListItem* clicked) { deleteFolder(clicked); });
    return menu;
}

QMenu* BrowserFileActions::backgroundMenu() {
    auto* menu = new QMenu(m_browser);
    const QString path = m_browser->currentPath();
    QAction* create = menu->addAction(localizedString("New Folder"), this,
                                      [this, path] { createSubFolder(path, nullptr); });
    create->setData(path);
    QAction* refresh = menu->addAction(localizedString("Refresh"), m_browser,
                                       &ImageBrowserController::forceRefreshBrowser);
    refresh->setData(path);
    return menu;
}

QMenu* BrowserFileActions::itemMenu() {
    auto* menu = new QMenu(m_browser);
    emit itemMenuAboutToShow(menu);
    if (!menu->isEmpty())
        menu->addSeparator();
    menu->addAction(action(QStringLiteral("copy")));
    menu->addSeparator();
    for (const char* name : {"rotateImageRight", "rotateImageLeft", "autoRotate"})
        menu->addAction(action(QLatin1String(name)));
    menu->addSeparator();
    menu->addAction(action(QStringLiteral("delete")));
    return menu;
}

void BrowserFileActions::showSourceListMenu(const QPoint& position) {
    QTreeView* view = m_browser->sourceListView();
    const QModelIndex index = view->indexAt(position);
    QMenu* menu = sourceListMenu(m_browser->sourceListModel().itemForIndex(index));
    if (!menu)
        return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(view->viewport()->mapToGlobal(position));
}

void BrowserFileActions::showGridMenu(const QPoint& globalPosition) {
    BrowserGridView* grid = m_browser->browserView();
    const QModelIndex index = grid->indexAt(grid->viewport()->mapFromGlobal(globalPosition));
    updateActions();
    QMenu* menu = index.isValid() && !m_browser->selectedBrowserItems().isEmpty()
                      ? itemMenu()
                      : backgroundMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPosition);
}

void BrowserFileActions::refreshSourceList() {
    const QString remembered = m_browser->currentPath();
    m_browser->refreshSourceListItems();
    m_browser->openPath(remembered);
}

void BrowserFileActions::refreshFolder(SourceListItem* node) {
    if (!node)
        return;
    SourceListModel& model = m_browser->sourceListModel();
    model.clearItemChildren(node);
    model.checkItemChildren(node);
}

void BrowserFileActions::addToFavorites(SourceListItem* node) {
    if (node)
        addToFavorites(node->path());
}

void BrowserFileActions::addToFavorites(const QString& path) {
    QStringList favorites = m_browser->favoriteFolders();
    if (path.isEmpty() || favorites.contains(path))
        return;
    favorites.append(path);
    setFavoriteFolders(favorites);
}

void BrowserFileActions::removeFromFavorites(SourceListItem* node) {
    if (!node)
        return;
    const QString path = node->path();
    QPointer<BrowserFileActions> self(this);
    ESSBeginAlertSheet(
        localizedString("CONFIRM_REMOVE_FAVORITE"), localizedString("Remove"), QString(),
        localizedString("Cancel"), m_browser,
        [self, path](void*, int code) {
            if (!self || code != AlertDefaultReturn)
                return;
            QStringList favorites = self->m_browser->favoriteFolders();
            favorites.removeAll(path);
            self->setFavoriteFolders(favorites);
        },
        {}, nullptr, localizedString("NO_UNDO_AVAIL"));
}

void BrowserFileActions::setFavoriteFolders(const QStringList& folders) {
    m_browser->setFavoriteFolders(folders);
}

void BrowserFileActions::revealFolder(const QString& path) {
    if (!path.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void BrowserFileActions::renameFolder(SourceListItem* node) {
    if (!canRenameFolder(node))
        return;
    QTreeView* view = m_browser->sourceListView();
    const QModelIndex row = m_browser->sourceListModel().indexForItem(node);
    m_renaming = row;
    view->setCurrentIndex(row);
    view->edit(row);
    if (auto* field = view->findChild<QLineEdit*>())
        field->selectAll();
}

void BrowserFileActions::finishFolderRename(SourceListItem* node, const QString& name) {
    if (!node || name == node->title())
        return;
    const QString oldPath = node->path();
    if (FileManagerRename::tryRenameFile(oldPath, name, m_browser) !=
        FileManagerRename::RenameDone) {
        const QPersistentModelIndex row(m_browser->sourceListModel().indexForItem(node));
        QTimer::singleShot(0, this, [this, row] { renameFolder(nodeAt(row)); });
        return;
    }
    const QString newPath = QFileInfo(oldPath).absolutePath() + QLatin1Char('/') + name;
    node->relocateItem(newPath);
    node->setTitle(name);
    m_browser->sourceListModel().itemChanged(node);
    const QString current = m_browser->currentPath();
    if (current == oldPath || current.startsWith(oldPath + QLatin1Char('/')))
        m_browser->openPath(newPath + current.mid(oldPath.size()));
}

void BrowserFileActions::createSubFolder(const QString& path, SourceListItem* node) {
    const QString parent = !path.isEmpty() ? path : node ? node->path() : QString();
    if (parent.isEmpty())
        return;
    const QPersistentModelIndex row =
        node ? QPersistentModelIndex(m_browser->sourceListModel().indexForItem(node))
             : QPersistentModelIndex();
    auto folderFor = [parent](const QString& name) {
        return QDir::cleanPath(parent + QLatin1Char('/') + name);
    };
    PromptValueController::promptValue(
        localizedString("CREATE_FOLDER_PROMPT"), QString(), m_browser,
        localizedString("CREATE_FOLDER_DEFAULT"), false,
        [folderFor](const QString& name) -> std::optional<QString> {
            if (name.contains(QLatin1Char(':')) || name.contains(QLatin1Char('/')))
                return localizedString("CREATE_FOLDER_INVALID");
            if (QFileInfo::exists(folderFor(name)))
                return localizedString("CREATE_FOLDER_CONFLICT").arg(name);
            return std::nullopt;
        },
        [this, folderFor, row](const QString& name) {
            QDir().mkpath(folderFor(name));
            refreshFolder(nodeAt(row));
        });
}

void BrowserFileActions::deleteFolder(SourceListItem* node) {
    if (!node || node->isGroupHeader())
        return;
    const QPersistentModelIndex row(m_browser->sourceListModel().indexForItem(node));
    QPointer<BrowserFileActions> self(this);
    ESSBeginAlertSheet(
        localizedString("CONFIRM_DELETE_FOLDER"), localizedString("Delete"), QString(),
        localizedString("Cancel"), m_browser,
        [self, row](void*, int code) {
            if (!self || code != AlertDefaultReturn)
                return;
            SourceListItem* clicked = self->nodeAt(row);
            if (!clicked)
                return;
            const QString path = clicked->path();
            if (!FileUtils::moveItemToTrash(path)) {
                self->reportFailures({path});
                return;
            }
            self->refreshFolder(clicked->parent());
            self->m_browser->openPath(self->m_browser->currentPath());
        },
        {}, nullptr, localizedString("MOVED_TO_TRASH"));
}

void BrowserFileActions::deleteSelected() {
    // The Delete key in the source list does nothing.
    if (m_browser->sourceListView()->hasFocus())
        return;
    deleteBrowserItems();
}

void BrowserFileActions::deleteBrowserItems() {
    if (m_browser->selectedBrowserItems().isEmpty())
        return;
    QPointer<BrowserFileActions> self(this);
    ESSBeginAlertSheet(
        localizedString("CONFIRM_DELETE_FILES"), localizedString("Delete"), QString(),
        localizedString("Cancel"), m_browser,
        [self](void*, int code) {
            if (self && code == AlertDefaultReturn)
                self->trashBrowserItems();
        },
        {}, nullptr, localizedString("MOVED_TO_TRASH"));
}

void BrowserFileActions::trashBrowserItems() {
    const QStringList paths = m_browser->selectedBrowserPaths();
    BrowserContent& content = m_browser->content();
    content.pauseWatching();
    QStringList failed;
    for (const QString& path : paths) {
        if (!FileUtils::moveItemToTrash(path))
            failed.append(path); // left where it is
    }
    content.resumeWatching();
    m_browser->forceRefreshBrowser();
    reportFailures(failed);
}

void BrowserFileActions::copyBrowserItems() {
    PasteboardUtils::putFilenames(m_browser->selectedBrowserPaths());
}

void BrowserFileActions::paste() {
    const QStringList files = PasteboardUtils::getFilenames();
    const QString folder = m_browser->currentPath();
    if (files.isEmpty() || folder.isEmpty())
        return;
    runOperation(
        files,
        [folder](const QString& source) {
            return ItemReplacement::copyItem(source, FreeName::pasteDestination(folder, source));
        },
        false);
}

bool BrowserFileActions::prepareDropOperation(const QStringList& files, const QString& folder,
                                              quint64 operation) {
    const DropOperation drop = DropOperation::plan(files, folder, operation);
    if (drop.isRefused()) {
        reportFailures(drop.refused());
        return false;
    }
    if (!drop.hasConflict()) {
        processDrop(drop);
        return true;
    }
    QPointer<BrowserFileActions> self(this);
    ESSBeginAlertSheet(
        QStringLiteral("conflict"), QStringLiteral("Replace"), QString(), QStringLiteral("Stop"),
        m_browser,
        [self, drop](void*, int code) {
            if (self && code == AlertDefaultReturn)
                self->processDrop(drop);
        },
        {}, nullptr, QString());
    return true;
}

void BrowserFileActions::processDrop(const DropOperation& drop) {
    if (drop.targets().isEmpty())
        return;
    runOperation(
        drop.sources(),
        [drop](const QString& source) {
            const QString destination = drop.destinationFor(source);
            return drop.isMove() ? ItemReplacement::moveItem(source, destination)
                                 : ItemReplacement::copyItem(source, destination);
        },
        false);
}

void BrowserFileActions::autoRotate() {
    runOperation(m_browser->selectedBrowserPaths(), &ImageUtils::autoLosslessRotateImage, true);
}

void BrowserFileActions::transformImages(int transform) {
    const QVariant stored =
        m_browser->settings().objectForKey(QLatin1String(SettingsKeys::jpeg_compression));
    const double compression = stored.isValid() ? stored.toDouble() : 90.0;
    runOperation(
        m_browser->selectedBrowserPaths(),
        [transform, compression](const QString& path) {
            return ImageUtils::transformImage(path, transform, compression);
        },
        true);
}

void BrowserFileActions::runOperation(const QStringList& items,
                                      const std::function<bool(const QString&)>& step,
                                      bool withProgress) {
    if (items.isEmpty())
        return;
    auto* run = new FileOperationRun(items, step, this);
    m_runs.append(run);
    if (withProgress) {
        if (m_progress)
            m_progress->finish();
        m_progress =
            ProgressBarController::progressBarForWindow(m_browser, true, 0.0, double(items.size()));
        ProgressBarController* progress = m_progress.get();
        connect(progress, &ProgressBarController::cancelRequested, run, &FileOperationRun::cancel);
        connect(run, &FileOperationRun::stepStarted, progress,
                [progress](int, const QString& item) {
                    progress->setStatusText(QFileInfo(item).fileName());
                });
        connect(run, &FileOperationRun::stepDone, progress,
                [progress](int, bool) { progress->incrementBy(1.0); });
    }
    connect(run, &FileOperationRun::finished, this,
            [this, run, withProgress](const QStringList& failed, bool) {
                operationDone(run, failed, withProgress);
            });
    run->start();
}

void BrowserFileActions::operationDone(FileOperationRun* run, const QStringList& failed,
                                       bool withProgress) {
    m_runs.removeAll(run);
    run->deleteLater();
    if (withProgress)
        closeProgressBarAfterDelay(1000);
    reportFailures(failed);
    emit operationFinished(failed);
}

void BrowserFileActions::closeProgressBarAfterDelay(int milliseconds) {
    if (!m_progress)
        return;
    m_progress->setIndeterminate(true);
    QPointer<ProgressBarController> shown(m_progress.get());
    QTimer::singleShot(milliseconds, this, [this, shown] {
        if (!shown || shown != m_progress.get())
            return; // replaced by a newer one
        m_progress->finish();
        m_progress.reset();
    });
}

void BrowserFileActions::reportFailures(const QStringList& failed) {
    if (failed.isEmpty())
        return;
    QStringList names;
    for (const QString& path : failed.mid(0, kReportedNames))
        names.append(QFileInfo(path).fileName());
    if (failed.size() > kReportedNames)
        names.append(QStringLiteral("…"));
    ESSBeginAlertSheet(localizedString("FILE_OPERATION_FAILED", int(failed.size())),
                       localizedString("OK"), QString(), QString(), m_browser, {}, {}, nullptr,
                       names.join(QLatin1Char('\n')));
}

void BrowserFileActions::selectWhere(const std::function<bool(const BrowserItem&)>& test) {
    BrowserGridView* grid = m_browser->browserView();
    grid->selectionModel()->clearSelection();
    QItemSelection selection;
    const QList<BrowserItemPtr>& items = m_browser->browserItems();
    for (qsizetype row = 0; row < items.size(); ++row) {
        if (test(*items.at(row))) {
            const QModelIndex index = grid->model()->index(int(row), 0);
            selection.select(index, index);
        }
    }
    grid->selectionModel()->select(selection, QItemSelectionModel::Select);
}

void BrowserFileActions::selectAllFiles() {
    selectWhere([](const BrowserItem&) { return true; });
}

void BrowserFileActions::selectAll() {
    selectWhere([](const BrowserItem& item) { return item.type() == BrowserItemTypeImage; });
}

void BrowserFileActions::selectAllMedia() {
    selectWhere([](const BrowserItem& item) { return item.isMedia(); });
}

void BrowserFileActions::renameSelected() {
    QTreeView* sourceList = m_browser->sourceListView();
    if (sourceList->hasFocus()) {
        renameFolder(m_browser->sourceListModel().itemForIndex(sourceList->currentIndex()));
        return;
    }
    BrowserGridView* grid = m_browser->browserView();
    const QModelIndexList selected = grid->selectionModel()->selectedIndexes();
    if (selected.size() == 1)
        grid->edit(selected.first());
}

void BrowserFileActions::createSubFolderHere() {
    createSubFolder(m_browser->currentPath(), nullptr);
}

void BrowserFileActions::addCurrentToFavorites() {
    addToFavorites(m_browser->currentPath());
}

void BrowserFileActions::revealCurrent() {
    revealFolder(m_browser->currentPath());
}

QString BrowserFileActions::dropFolder(QObject* view, const QPoint& position,
                                       const QMimeData* data) const {
    if (PasteboardUtils::getFilenames(data).isEmpty())
        return {};
    BrowserGridView* grid = m_browser->browserView();
    if (view == grid->viewport()) {
        const QModelIndex index = grid->indexAt(position);
        const BrowserItemPtr item =
            index.isValid() ? m_browser->content().model()->itemAt(index.row()) : nullptr;
        if (item && item->type() == BrowserItemTypeFolder)
            return item->path();
        return m_browser->currentPath();
    }
    // Onto a node of the source list, never a group header.
    QTreeView* sourceList = m_browser->sourceListView();
    const SourceListItem* node =
        m_browser->sourceListModel().itemForIndex(sourceList->indexAt(position));
    return node && !node->isGroupHeader() ? node->path() : QString();
}

namespace {

// Moves unless told otherwise: Ctrl copies, as in the desktop's file
// managers, and so does the foundation's Alt.
Qt::DropAction dropActionFor(Qt::KeyboardModifiers modifiers) {
    if (modifiers == Qt::ControlModifier)
        return Qt::CopyAction;
    return EventUtils::dragOperationForMoveByDefaultWithLinkAccepted(false, modifiers);
}

} // namespace

void BrowserFileActions::showDropTarget(QObject* view, const QPoint& position) const {
    BrowserGridView* grid = m_browser->browserView();
    QModelIndex target;
    if (view == grid->viewport()) {
        const QModelIndex index = grid->indexAt(position);
        const BrowserItemPtr item =
            index.isValid() ? m_browser->content().model()->itemAt(index.row()) : nullptr;
        if (item && item->type() == BrowserItemTypeFolder)
            target = index;
    }
    grid->setDropTarget(target);
}

bool BrowserFileActions::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        const QPoint position = drag->position().toPoint();
        const QString folder = dropFolder(watched, position, drag->mimeData());
        const QStringList files = PasteboardUtils::getFilenames(drag->mimeData());
        if (folder.isEmpty() ||
            DropOperation::plan(files, folder, DropOperation::kMove).isRefused()) {
            showDropTarget(watched, QPoint(-1, -1));
            // Entering is accepted so that moving on may find a folder.
            if (event->type() == QEvent::DragEnter && !files.isEmpty())
                drag->accept();
            else
                drag->ignore();
            return true;
        }
        showDropTarget(watched, position);
        drag->setDropAction(dropActionFor(drag->modifiers()));
        drag->accept();
        return true;
    }
    case QEvent::DragLeave:
        showDropTarget(watched, QPoint(-1, -1));
        return false;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        showDropTarget(watched, QPoint(-1, -1));
        const QString folder = dropFolder(watched, drop->position().toPoint(), drop->mimeData());
        if (folder.isEmpty()) {
            drop->ignore();
            return true;
        }
        const Qt::DropAction action = dropActionFor(drop->modifiers());
        drop->setDropAction(action);
        drop->accept();
        prepareDropOperation(PasteboardUtils::getFilenames(drop->mimeData()), folder,
                             operationFor(action));
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}
