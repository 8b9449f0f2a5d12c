// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserItemActions.h"

#include "BrowserFileActions.h"
#include "BrowserGridView.h"
#include "BrowserItemDelegate.h"
#include "ExternalApplications.h"
#include "ImageBrowserController.h"
#include "ImagePrinter.h"
#include "InfoPanel.h"
#include "QuickPreviewWindow.h"
#include "StartAtLoginQuestion.h"
#include "batch/ui/BatchProcessWindow.h"
#include "browser/BrowserOpenRules.h"
#include "camera/CameraDrive.h"
#include "transfer/ui/TransferAssistantController.h"

#include "Localization.h"
#include "PoolTask.h"
#include "SystemUtils.h"
#include "widgets/PasteboardUtils.h"

#include <QAction>
#include <QDesktopServices>
#include <QDir>
#include <QFutureWatcher>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QUrl>

#include <algorithm>

using Localization::localizedString;

BrowserItemActions::BrowserItemActions(ImageBrowserController& browser, UserDefaults& settings)
    : QObject(&browser)
    , m_browser(browser)
    , m_settings(settings)
    , m_rows(&InfoPanel::readMovieMetadata)
    , m_informationPanel(new InfoPanel(&browser))
    , m_quickPreview(new QuickPreviewWindow(&browser))
    , m_openFile([](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); })
    , m_editorEntry(ExternalApplications::imageEditorEntry())
    , m_libraryEntry(ExternalApplications::photoLibraryEntry()) {
    m_viewAction =
        addAction("View", "fullscreenAction", &BrowserItemActions::fullscreenBrowserItems);
    m_viewAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Return")));
    m_slideshowAction =
        addAction("Slideshow", "slideshow", &BrowserItemActions::slideshowBrowserItems);
    m_slideshowAction->setIcon(QIcon::fromTheme(QStringLiteral("media-playback-start")));
    m_quickLookAction =
        addAction("Quick Look", "quicklook", &BrowserItemActions::quickLookBrowserItems);
    m_quickLookAction->setShortcut(QKeySequence(Qt::Key_Space));
    m_quickLookAction->setIcon(QIcon::fromTheme(QStringLiteral("view-preview")));
    m_informationAction =
        addAction("Show Information", "informationAction", &BrowserItemActions::showInformation);
    m_informationAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+I")));
    m_printAction = addAction("Print…", "printAction", &BrowserItemActions::printImages);
    m_printAction->setShortcut(QKeySequence::Print);
    m_editAction = addAction("Edit with %1", "editAction", &BrowserItemActions::editBrowserItems);
    m_editAction->setText(
        localizedString("Edit with %1").arg(ExternalApplications::displayName(m_editorEntry)));
    m_editAction->setVisible(!m_editorEntry.isEmpty());
    m_libraryAction =
        addAction("Add to %1", "libraryAction", &BrowserItemActions::addBrowserItemsToIPhoto);
    m_libraryAction->setText(
        localizedString("Add to %1").arg(ExternalApplications::displayName(m_libraryEntry)));
    m_libraryAction->setVisible(!m_libraryEntry.isEmpty());
    m_desktopAction = addAction("Set as Desktop Picture", "desktopPictureAction",
                                &BrowserItemActions::setAsDesktopImage);
    m_copyImageAction =
        addAction("Copy Image", "copyImageAction", &BrowserItemActions::copyImageContent);
    m_copyImageAction->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+C")));
    m_batchAction = addAction("Batch Process…", "batchAction", &BrowserItemActions::batchProcess);
    m_downloadAction =
        addAction("Transfer Images…", "downloadAction", &BrowserItemActions::downloadImages);
    m_helpAction = addAction("PIXHAUL_FEATURES", "helpAction", &BrowserItemActions::showHelp);
    m_helpAction->setShortcut(QKeySequence::HelpContents);

    BrowserGridView* grid = m_browser.browserView();
    connect(grid, &BrowserGridView::enterPressed, this,
            &BrowserItemActions::collectionViewEnterPressed);
    connect(grid, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        openBrowserItem(m_browser.content().model()->itemAt(index.row()));
    });
    connect(grid->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &BrowserItemActions::selectionChanged);
    connect(&m_browser.content(), &BrowserContent::itemsChanged, this,
            &BrowserItemActions::updateActions);
    connect(m_informationPanel, &InfoPanel::shown, this, [this] {
        if (m_informationStale)
            updateInformation();
    });
    if (BrowserFileActions* files = m_browser.fileActions())
        connect(files, &BrowserFileActions::itemMenuAboutToShow, this,
                &BrowserItemActions::addSelectionMenuEntries);
    installInMenus();
    updateActions();
}

BrowserItemActions::~BrowserItemActions() = default;

TransferAssistantController* BrowserItemActions::transferController() const {
    return m_transferController;
}

BatchProcessWindow* BrowserItemActions::batchProcessFlow() const {
    return m_batchProcessFlow;
}

QAction* BrowserItemActions::addAction(const char* titleKey, const char* name,
                                       void (BrowserItemActions::*slot)()) {
    auto* action = new QAction(localizedString(titleKey), &m_browser);
    action->setObjectName(QLatin1String(name));
    connect(action, &QAction::triggered, this, slot);
    m_browser.addAction(action);
    return action;
}

namespace {

QMenu* menuTitled(QMenuBar* bar, const char* titleKey) {
    const QString title = localizedString(titleKey);
    for (QAction* action : bar->actions()) {
        if (action->menu() && action->text() == title)
            return action->menu();
    }
    return nullptr;
}

} // namespace

void BrowserItemActions::installInMenus() {
    QMenuBar* bar = m_browser.menuBar();
    if (QMenu* file = menuTitled(bar, "MENU_FILE")) {
        QAction* first = file->actions().value(0);
        file->insertActions(first, {m_viewAction, m_slideshowAction, m_quickLookAction});
        file->insertSeparator(first);
        file->insertActions(first, {m_editAction, m_libraryAction, m_desktopAction, m_batchAction,
                                    m_downloadAction});
        file->insertSeparator(first);
        file->insertAction(first, m_printAction);
        file->insertSeparator(first);
    }
    if (QMenu* edit = menuTitled(bar, "MENU_EDIT")) {
        QAction* first = edit->actions().value(0);
        edit->insertAction(first, m_copyImageAction);
        edit->insertSeparator(first);
    }
    if (QMenu* view = menuTitled(bar, "MENU_VIEW")) {
        view->addAction(m_informationAction);
        connect(view, &QMenu::aboutToShow, this, [this] {
            m_informationAction->setText(localizedString(
                m_informationPanel->isVisible() ? "Hide Information" : "Show Information"));
        });
    }
    if (QMenu* help = menuTitled(bar, "MENU_HELP"))
        help->addAction(m_helpAction);
    // No sharing picker on this platform: the "share" item is left out.
    if (auto* toolbar = m_browser.findChild<QToolBar*>(QStringLiteral("toolbar"))) {
        // Right after "view_options".
        const QList<QAction*> items = toolbar->actions();
        const qsizetype options =
            items.indexOf(m_browser.findChild<QAction*>(QStringLiteral("view_options")));
        QAction* before = options >= 0 ? items.value(options + 1) : nullptr;
        toolbar->insertAction(before, m_quickLookAction);
        toolbar->insertAction(before, m_slideshowAction);
    }
}

bool BrowserItemActions::addSelectionMenuEntries(QMenu* menu) {
    const QList<BrowserItemPtr> selection = m_browser.selectedBrowserItems();
    const QList<BrowserOpenRules::MenuEntry> entries = BrowserOpenRules::menuEntries(
        selection, !m_editorEntry.isEmpty(), !m_libraryEntry.isEmpty());
    for (const BrowserOpenRules::MenuEntry entry : entries) {
        switch (entry) {
        case BrowserOpenRules::MenuEntry::OpenFolder:
            menu->addAction(localizedString("Open"), this,
                            &BrowserItemActions::openBrowserItemFromMenu);
            break;
        case BrowserOpenRules::MenuEntry::ViewImage:
            menu->addAction(localizedString("View"), this,
                            &BrowserItemActions::openBrowserItemFromMenu);
            break;
        case BrowserOpenRules::MenuEntry::OpenMovie: {
            const QString application =
                SystemUtils::defaultApplicationForFile(selection.first()->path());
            menu->addAction(localizedString("Open with %1")
                                .arg(application.isEmpty()
                                         ? localizedString("Default Application")
                                         : ExternalApplications::displayName(application)),
                            this, &BrowserItemActions::openBrowserItemFromMenu);
            break;
        }
        case BrowserOpenRules::MenuEntry::ViewSelection:
            menu->addAction(localizedString("View"), this,
                            &BrowserItemActions::fullscreenBrowserItems);
            break;
        case BrowserOpenRules::MenuEntry::QuickLook:
            menu->addAction(localizedString("Quick Look"), this,
                            &BrowserItemActions::quickLookBrowserItems);
            break;
        case BrowserOpenRules::MenuEntry::EditWith:
            menu->addAction(m_editAction->text(), this, &BrowserItemActions::editBrowserItems);
            break;
        case BrowserOpenRules::MenuEntry::AddToLibrary:
            menu->addAction(m_libraryAction->text(), this,
                            &BrowserItemActions::addBrowserItemsToIPhoto);
            break;
        }
    }
    return !entries.isEmpty();
}

void BrowserItemActions::collectionViewEnterPressed() {
    const QList<BrowserItemPtr> selection = m_browser.selectedBrowserItems();
    switch (BrowserOpenRules::enterAction(selection)) {
    case BrowserOpenRules::EnterAction::OpenItem:
        openBrowserItem(selection.first());
        break;
    case BrowserOpenRules::EnterAction::Fullscreen:
        fullscreenBrowserItems();
        break;
    case BrowserOpenRules::EnterAction::Nothing:
        break;
    }
}

void BrowserItemActions::openBrowserItem(const BrowserItemPtr& item) {
    if (!item)
        return;
    switch (item->type()) {
    case BrowserItemTypeFolder:
        m_browser.openPath(item->path());
        break;
    case BrowserItemTypeImage:
        showImagesFullscreen(false, item, false);
        break;
    case BrowserItemTypeMovie:
        m_openFile(item->path());
        break;
    }
}

void BrowserItemActions::openBrowserItemFromMenu() {
    const QList<BrowserItemPtr> selection = m_browser.selectedBrowserItems();
    if (!selection.isEmpty())
        openBrowserItem(selection.first());
}

void BrowserItemActions::fullscreenBrowserItems() {
    showFullscreenBrowserItems(false);
}

void BrowserItemActions::slideshowBrowserItems() {
    showFullscreenBrowserItems(true);
}

void BrowserItemActions::showFullscreenBrowserItems(bool slideshow) {
    showImagesFullscreen(!m_browser.selectedBrowserItems().isEmpty(), nullptr, slideshow);
}

void BrowserItemActions::showImagesFullscreen(bool fromSelection, const BrowserItemPtr& item,
                                              bool slideshow) {
    const BrowserOpenRules::ViewerStart start = BrowserOpenRules::viewerStart(
        fromSelection, item, m_browser.selectedBrowserItems(), m_browser.browserItems());
    if (start.paths.isEmpty())
        return;
    const QRect rect = thumbnailScreenRect(start.startItem);
    const QImage thumbnail = start.startItem ? start.startItem->thumbnail() : QImage();
    // The panel would float over the viewer; it returns with the browser.
    m_informationPanel->hideForViewer();
    m_quickPreview->close();
    emit m_browser.viewerRequested(start.paths, slideshow, start.startIndex, thumbnail, rect);
}

QRect BrowserItemActions::thumbnailScreenRect(const BrowserItemPtr& item) const {
    if (!item)
        return {};
    const int row = m_browser.content().model()->rowOfPath(item->path());
    if (row < 0)
        return {};
    BrowserGridView* grid = m_browser.browserView();
    const QRect cell = grid->visualRect(m_browser.content().model()->index(row));
    if (cell.isEmpty())
        return {};
    const QRect thumbnail = BrowserItemDelegate::thumbnailRect(cell);
    return QRect(grid->viewport()->mapToGlobal(thumbnail.topLeft()), thumbnail.size());
}

void BrowserItemActions::quickLookBrowserItems() {
    if (m_quickPreview->isVisible()) {
        m_quickPreview->close();
        return;
    }
    const QList<BrowserItemPtr> selection = m_browser.selectedBrowserItems();
    if (selection.isEmpty())
        return;
    m_quickPreview->setItems(selection);
    m_quickPreview->show();
    m_quickPreview->raise();
    m_quickPreview->activateWindow();
}

void BrowserItemActions::editBrowserItems() {
    const QList<BrowserItemPtr> selection = m_browser.selectedBrowserItems();
    const QString editor = ExternalApplications::imageEditorEntry();
    if (selection.isEmpty() || selection.first()->type() != BrowserItemTypeImage ||
        editor.isEmpty())
        return;
    ExternalApplications::openWithEntry(editor, m_browser.selectedBrowserPaths());
}

void BrowserItemActions::addBrowserItemsToIPhoto() {
    const QString library = ExternalApplications::photoLibraryEntry();
    const QStringList paths = m_browser.selectedBrowserPaths();
    if (library.isEmpty() || paths.isEmpty())
        return;
    // The files are the program's arguments; nothing is run through a shell.
    ExternalApplications::openWithEntry(library, paths);
}

void BrowserItemActions::copyImageContent() {
    const QStringList paths = m_browser.selectedBrowserPaths();
    if (!paths.isEmpty())
        PasteboardUtils::putImageContent(paths.first());
}

void BrowserItemActions::setAsDesktopImage() {
    const QStringList paths = m_browser.selectedBrowserPaths();
    if (!paths.isEmpty())
        ExternalApplications::setDesktopPicture(paths.first());
}

void BrowserItemActions::printImages() {
    ImagePrinter::printImages(m_browser.selectedBrowserPaths(), &m_browser);
}

void BrowserItemActions::batchProcess() {
    const QStringList paths = m_browser.selectedBrowserPaths();
    if (paths.isEmpty())
        return;
    if (m_batchProcessFlow && !m_batchProcessFlow->processing())
        m_batchProcessFlow->deleteLater();
    m_batchProcessFlow =
        new BatchProcessWindow(m_browser.currentPath(), paths, m_settings, &m_browser);
    m_batchProcessFlow->show(&m_browser);
}

void BrowserItemActions::downloadImages() {
    showTransferAssistant(new TransferAssistantController(m_browser.currentPath()));
}

void BrowserItemActions::downloadImagesFromDrive(const QString& drivePath) {
    if (QDir(drivePath).exists(QStringLiteral("DCIM")))
        showTransferAssistant(
            new TransferAssistantController(std::make_shared<CameraDrive>(drivePath)));
    else
        showTransferAssistant(new TransferAssistantController(drivePath));
}

void BrowserItemActions::showTransferAssistant(TransferAssistantController* assistant) {
    assistant->setAttribute(Qt::WA_DeleteOnClose);
    assistant->setBrowseHandler([this](const QString& folder) { m_browser.openPath(folder); });
    m_transferController = assistant;
    assistant->showWindow();
    assistant->raise();
    assistant->activateWindow();
}

void BrowserItemActions::showHelp() {
    QDesktopServices::openUrl(QUrl(QLatin1String(helpPage)));
}

void BrowserItemActions::showInformation() {
    m_informationPanel->toggle();
    m_informationAction->setText(
        localizedString(m_informationPanel->isVisible() ? "Hide Information" : "Show Information"));
}

void BrowserItemActions::selectionChanged() {
    updateInformation();
    updateActions();
    if (m_quickPreview->isVisible()) {
        const QList<BrowserItemPtr> selection = m_browser.selectedBrowserItems();
        if (!selection.isEmpty())
            m_quickPreview->setItems(selection);
    }
}

void BrowserItemActions::updateInformation() {
    const quint64 request = ++m_informationRequest;
    if (!m_informationPanel->isVisible()) {
        m_informationStale = true;
        return;
    }
    m_informationStale = false;
    // EXIF blocks and movie headers are file reads: off the main thread.
    auto* watcher = new QFutureWatcher<QList<InfoPanelRows::Row>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, request] {
        watcher->deleteLater();
        if (request != m_informationRequest)
            return;
        m_currentItemInfo = watcher->result();
        m_informationPanel->setRows(m_currentItemInfo);
    });
    // Path and kind are copied: the items themselves belong to the main thread.
    const QList<BrowserItemPtr> selection = m_browser.selectedBrowserItems();
    const bool one = selection.size() == 1 && selection.first()->isMedia();
    const QString path = one ? selection.first()->path() : QString();
    const BrowserItemType type = one ? selection.first()->type() : BrowserItemTypeFolder;
    watcher->setFuture(PoolTask::run(QThreadPool::globalInstance(), [rows = m_rows, path, type] {
        return rows.rowsForItem(path, type);
    }));
}

void BrowserItemActions::updateActions() {
    const QList<BrowserItemPtr> selection = m_browser.selectedBrowserItems();
    const BrowserOpenRules::Kinds kinds = BrowserOpenRules::kindsOf(selection);
    const bool oneImage = kinds.count == 1 && kinds.image;
    const bool folderHasImage = std::any_of(
        m_browser.browserItems().cbegin(), m_browser.browserItems().cend(),
        [](const BrowserItemPtr& item) { return item->type() == BrowserItemTypeImage; });
    const bool viewable = (kinds.count == 0 && folderHasImage) || kinds.imagesOnly();
    m_viewAction->setEnabled(viewable);
    m_slideshowAction->setEnabled(viewable);
    m_quickLookAction->setEnabled(!kinds.folder && (kinds.image || kinds.movie));
    m_printAction->setEnabled(kinds.imagesOnly());
    m_editAction->setEnabled(kinds.imagesOnly() && !m_editorEntry.isEmpty());
    m_libraryAction->setEnabled(kinds.imagesOnly() && !m_libraryEntry.isEmpty());
    m_copyImageAction->setEnabled(oneImage);
    m_desktopAction->setEnabled(oneImage && ExternalApplications::pictureDesktop() !=
                                                ExternalApplications::Desktop::None);
    m_batchAction->setEnabled(kinds.imagesOnly());
}

bool BrowserItemActions::askStartAtLoginIfFirstRun(StartAtLoginController& login) {
    return StartAtLoginQuestion::askIfFirstRun(m_settings, &m_browser, login);
}
