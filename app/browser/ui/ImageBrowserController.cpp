// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageBrowserController.h"

#include "BrowserFileActions.h"
#include "BrowserGridView.h"
#include "BrowserItemActions.h"
#include "BrowserItemDelegate.h"
#include "ScopeBar.h"

#include "Localization.h"
#include "UserDefaults.h"
#include "settings/SettingsKeys.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QProgressBar>
#include <QPropertyAnimation>
#include <QSlider>
#include <QSplitter>
#include <QStandardPaths>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <QtMath>

#include <algorithm>

using Localization::localizedString;

namespace {

// The zoom slider moves in hundredths of the zoom factor.
constexpr int kZoomMinimum = 50;
constexpr int kZoomMaximum = 300;

QString standardized(const QString& path) {
    QString expanded = path;
    if (expanded.startsWith(QLatin1Char('~')))
        expanded.replace(0, 1, QDir::homePath());
    return QDir::cleanPath(expanded);
}

// Among `nodes`, the one whose path occurs in `target` and is the longest
// (the first on ties).
SourceListItem* longestContained(const std::vector<SourceListItemPtr>& nodes, const QString& target,
                                 SourceListItem* best) {
    for (const SourceListItemPtr& node : nodes) {
        if (!node->path().isEmpty() && target.contains(node->path()) &&
            (!best || node->path().size() > best->path().size()))
            best = node.get();
    }
    return best;
}

// The desktop's icon theme, else the style's own icon.
QIcon themeIcon(const char* name, QStyle::StandardPixmap fallback) {
    return QIcon::fromTheme(QLatin1String(name), QApplication::style()->standardIcon(fallback));
}

} // namespace

ImageBrowserController::ImageBrowserController(UserDefaults& settings, QWidget* parent)
    : QMainWindow(parent)
    , m_settings(settings) {
    setObjectName(QStringLiteral("ImageBrowser"));
    setWindowIcon(QIcon::fromTheme(QStringLiteral("pixhaul"), windowIcon()));
    resize(1000, 680);

    m_sourceListView = new QTreeView(this);
    m_sourceListView->setObjectName(QStringLiteral("sourceList"));
    m_sourceListView->setModel(&m_sourceList);
    m_sourceListView->setHeaderHidden(true);
    m_sourceListView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_sourceListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_sourceListView->setUniformRowHeights(true);
    m_sourceListView->setIconSize(QSize(16, 16));
    connect(m_sourceListView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &ImageBrowserController::sourceListSelectionChanged);
    // Both group headers stay expanded.
    connect(&m_sourceList, &QAbstractItemModel::modelReset, this, [this] {
        for (int row = 0; row < m_sourceList.rowCount(); ++row)
            m_sourceListView->expand(m_sourceList.index(row, 0));
    });

    m_scopeBar = new ScopeBar(this);
    m_scopeBar->hide(); // until "Show View Options"
    m_browser = new BrowserGridView(this);
    m_browser->setModel(m_content.model());
    auto* content = new QWidget(this);
    auto* contentLayout = new QVBoxLayout(content);
    contentLayout->setContentsMargins(0, 0, 0, 0);
    contentLayout->setSpacing(0);
    contentLayout->addWidget(m_scopeBar);
    contentLayout->addWidget(m_browser);

    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_sourceListView);
    splitter->addWidget(content);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 780});
    setCentralWidget(splitter);

    m_browserInfo = new QLabel(this);
    m_browserInfo->setObjectName(QStringLiteral("browserInfo"));
    m_waitSpin = new QProgressBar(this);
    m_waitSpin->setObjectName(QStringLiteral("waitSpin"));
    m_waitSpin->setRange(0, 0);
    m_waitSpin->setMaximumWidth(120);
    m_waitSpin->hide();
    statusBar()->addWidget(m_browserInfo, 1);
    statusBar()->addPermanentWidget(m_waitSpin);

    buildToolBar();
    buildMenus();
    m_fileActions = new BrowserFileActions(this);
    m_itemActions = new BrowserItemActions(*this, m_settings);
    loadSettings();

    connect(m_scopeBar, &ScopeBar::filterChanged, this, [this](const BrowserFilter& filter) {
        m_content.setFilter(filter);
        storeFilter();
    });
    connect(m_browser, &BrowserGridView::visibleRangeChanged, &m_content,
            &BrowserContent::setVisibleRange);
    connect(&m_content, &BrowserContent::listingStarted, this,
            &ImageBrowserController::listingStarted);
    connect(&m_content, &BrowserContent::listingFinished, this,
            &ImageBrowserController::listingFinished);
    connect(&m_content, &BrowserContent::itemsAboutToChange, this,
            &ImageBrowserController::itemsAboutToChange);
    connect(&m_content, &BrowserContent::itemsChanged, this, &ImageBrowserController::itemsChanged);
    // A change on disk: listed again after the delay, the selection kept.
    connect(&m_content, &BrowserContent::folderChanged, this,
            [this] { refreshBrowserItemsWithSelection(selectedBrowserPaths()); });
    connect(&m_volumes, &MountedVolumes::volumesChanged, this,
            &ImageBrowserController::refreshDevices);

    refreshSourceListItems();
}

ImageBrowserController::~ImageBrowserController() = default;

void ImageBrowserController::buildToolBar() {
    QToolBar* toolbar = addToolBar(localizedString("Toolbar"));
    toolbar->setObjectName(QStringLiteral("toolbar"));
    toolbar->setMovable(false);
    m_backAction = toolbar->addAction(themeIcon("go-previous", QStyle::SP_ArrowBack),
                                      localizedString("Back"), this, [this] { historyMove(0); });
    m_backAction->setObjectName(QStringLiteral("back"));
    m_backAction->setShortcut(QKeySequence::Back);
    m_forwardAction =
        toolbar->addAction(themeIcon("go-next", QStyle::SP_ArrowForward),
                           localizedString("Forward"), this, [this] { historyMove(1); });
    m_forwardAction->setObjectName(QStringLiteral("forward"));
    m_forwardAction->setShortcut(QKeySequence::Forward);

    // The title bar's path menu: the current folder and its parents.
    auto* pathButton = new QToolButton(toolbar);
    pathButton->setObjectName(QStringLiteral("pathMenu"));
    pathButton->setIcon(themeIcon("folder", QStyle::SP_DirIcon));
    pathButton->setToolTip(localizedString("Enclosing Folders"));
    pathButton->setPopupMode(QToolButton::InstantPopup);
    m_pathMenu = new QMenu(pathButton);
    connect(m_pathMenu, &QMenu::aboutToShow, this, &ImageBrowserController::fillPathMenu);
    pathButton->setMenu(m_pathMenu);
    toolbar->addWidget(pathButton);

    m_viewOptionsAction = toolbar->addAction(
        themeIcon("view-filter", QStyle::SP_FileDialogDetailedView),
        localizedString("Show View Options"), this, &ImageBrowserController::showViewOptions);
    m_viewOptionsAction->setObjectName(QStringLiteral("view_options"));

    auto* spacer = new QWidget(toolbar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    toolbar->addWidget(spacer);
    m_zoomSlider = new QSlider(Qt::Horizontal, toolbar);
    m_zoomSlider->setObjectName(QStringLiteral("zoomSlider"));
    m_zoomSlider->setRange(kZoomMinimum, kZoomMaximum);
    m_zoomSlider->setMaximumWidth(160);
    connect(m_zoomSlider, &QSlider::valueChanged, this, &ImageBrowserController::zoomChanged);
    toolbar->addWidget(m_zoomSlider);
    updateHistoryActions();
}

void ImageBrowserController::buildMenus() {
    QMenu* file = menuBar()->addMenu(localizedString("MENU_FILE"));
    QAction* import = file->addAction(localizedString("IMPORT_FROM_CARD"), this,
                                      &ImageBrowserController::chooseImportSource);
    import->setObjectName(QStringLiteral("importAction"));
    // Ctrl+I shows the information panel.
    import->setShortcut(QKeySequence(QStringLiteral("Ctrl+Shift+I")));
    file->addSeparator();
    file->addAction(localizedString("Close"), QKeySequence::Close, this, &QWidget::close);
    file->addAction(localizedString("Quit"), QKeySequence::Quit, qApp,
                    &QApplication::closeAllWindows);

    QMenu* edit = menuBar()->addMenu(localizedString("MENU_EDIT"));
    QAction* preferences = edit->addAction(localizedString("Preferences") + QStringLiteral("…"),
                                           this, &ImageBrowserController::preferencesRequested);
    preferences->setObjectName(QStringLiteral("preferencesAction"));
    preferences->setShortcut(QKeySequence::Preferences);
    preferences->setMenuRole(QAction::PreferencesRole);

    QMenu* view = menuBar()->addMenu(localizedString("MENU_VIEW"));
    view->addAction(m_viewOptionsAction);
    // F5 alone: Ctrl+R turns the selection.
    view->addAction(localizedString("Refresh"), QKeySequence(Qt::Key_F5), this,
                    &ImageBrowserController::forceRefreshBrowser);

    QMenu* go = menuBar()->addMenu(localizedString("MENU_GO"));
    go->addAction(m_backAction);
    go->addAction(m_forwardAction);
    go->addAction(localizedString("Enclosing Folder"), QKeySequence(QStringLiteral("Alt+Up")), this,
                  [this] {
                      if (!currentPath().isEmpty() && currentPath() != QLatin1String("/"))
                          openPath(QFileInfo(currentPath()).absolutePath(), 0);
                  });

    QMenu* help = menuBar()->addMenu(localizedString("MENU_HELP"));
    QAction* about = help->addAction(localizedString("ABOUT_PIXHAUL"), this,
                                     &ImageBrowserController::aboutRequested);
    about->setObjectName(QStringLiteral("aboutAction"));
}

void ImageBrowserController::loadSettings() {
    const QVariant zoom = m_settings.objectForKey(QLatin1String(SettingsKeys::browser_zoom));
    const double factor = zoom.isValid() ? zoom.toDouble() : 1.0;
    m_zoomSlider->setValue(qRound(factor * 100));
    m_browser->setZoom(float(factor));
    m_favoriteFolders =
        m_settings.stringArrayForKey(QLatin1String(SettingsKeys::browser_favorites));
    BrowserFilter filter;
    filter.showFolders = m_settings.boolForKey(QLatin1String(SettingsKeys::browser_show_folders));
    filter.showImages = m_settings.boolForKey(QLatin1String(SettingsKeys::browser_show_images));
    filter.showMovies = m_settings.boolForKey(QLatin1String(SettingsKeys::browser_show_movies));
    filter.sortOrder =
        int(m_settings.integerForKey(QLatin1String(SettingsKeys::browser_sort_order)));
    m_scopeBar->setFilter(filter);
    m_content.setFilter(filter);
    updateThumbnailSize();
}

void ImageBrowserController::storeFilter() const {
    const BrowserFilter filter = m_content.filter();
    m_settings.setInteger(filter.sortOrder, QLatin1String(SettingsKeys::browser_sort_order));
    m_settings.setBool(filter.showFolders, QLatin1String(SettingsKeys::browser_show_folders));
    m_settings.setBool(filter.showImages, QLatin1String(SettingsKeys::browser_show_images));
    m_settings.setBool(filter.showMovies, QLatin1String(SettingsKeys::browser_show_movies));
}

void ImageBrowserController::refreshSourceListItems() {
    m_sourceList.refreshSourceListItems();
    refreshFavorites();
    refreshDevices();
}

void ImageBrowserController::setFavoriteFolders(const QStringList& folders) {
    m_favoriteFolders = folders;
    m_settings.setObject(m_favoriteFolders, QLatin1String(SettingsKeys::browser_favorites));
    refreshFavorites();
}

void ImageBrowserController::refreshFavorites() {
    m_sourceList.refreshFavorites(m_favoriteFolders);
    for (const QString& favorite : std::as_const(m_favoriteFolders)) {
        if (!currentPath().isEmpty() && currentPath().startsWith(favorite)) {
            openPath(currentPath(), 0);
            return;
        }
    }
}

void ImageBrowserController::refreshDevices() {
    m_sourceList.refreshDevices(m_volumes.mountedLocalVolumePaths());
    if (!currentPath().isEmpty())
        openPath(currentPath(), 0);
}

void ImageBrowserController::openPath(const QString& path) {
    const QFileInfo info(path);
    if (!path.isEmpty() && info.exists() && !info.isDir()) {
        m_fileToSelect = QDir::cleanPath(info.absoluteFilePath());
        openPath(info.absolutePath(), 0);
        return;
    }
    openPath(path, 0);
}

void ImageBrowserController::openPath(const QString& requested, int mode) {
    QString path = requested;
    if (path.isEmpty()) {
        path = m_settings.stringForKey(QLatin1String(SettingsKeys::browser_folder));
        if (path.isEmpty())
            path = QStringLiteral("~/Pictures");
    }
    path = standardized(path);
    show();
    raise();
    activateWindow();

    SourceListItem* node = nullptr;
    if (mode != 1) {
        node = walkSourceList(path);
        if (!node)
            return; // no favourite or drive leads there
    }
    m_history.recordOpen(currentPath(), path, mode);
    updateHistoryActions();

    if (node) {
        const QModelIndex row = m_sourceList.indexForItem(node);
        if (row.isValid()) {
            m_programmaticSelection = true;
            m_sourceListView->selectionModel()->select(row, QItemSelectionModel::ClearAndSelect);
            m_sourceListView->scrollTo(row);
            m_programmaticSelection = false;
        }
    }

    if (path == currentPath()) {
        if (!m_fileToSelect.isEmpty() && !m_content.isListing()) {
            selectFile(std::exchange(m_fileToSelect, QString()));
        }
    } else {
        m_content.setCurrentPath(path);
        refreshBrowserItemsWithSelection(std::nullopt);
    }
    setWindowFilePath(path);
    setWindowTitle(
        QStringLiteral("%1 — Pixhaul")
            .arg(QFileInfo(path).fileName().isEmpty() ? path : QFileInfo(path).fileName()));
}

SourceListItem* ImageBrowserController::walkSourceList(const QString& path) {
    SourceListItem* node =
        longestContained(m_sourceList.favoritesRootItem()->children(), path, nullptr);
    node = longestContained(m_sourceList.devicesRootItem()->children(), path, node);
    if (!node)
        return nullptr;
    bool retried = false;
    while (node->path().size() != path.size()) {
        const bool hadChildren = node->childrenKnown();
        m_sourceList.checkItemChildren(node);
        m_sourceListView->expand(m_sourceList.indexForItem(node));
        SourceListItem* next = longestContained(node->children(), path, nullptr);
        if (!next && hadChildren && !retried) {
            // The tree may be out of date: read this folder again, once.
            retried = true;
            m_sourceListView->collapse(m_sourceList.indexForItem(node));
            m_sourceList.clearItemChildren(node);
            continue;
        }
        if (!next)
            break;
        node = next;
    }
    return node;
}

void ImageBrowserController::sourceListSelectionChanged() {
    if (m_programmaticSelection)
        return;
    const QModelIndexList rows = m_sourceListView->selectionModel()->selectedRows();
    if (rows.size() != 1)
        return;
    SourceListItem* node = m_sourceList.itemForIndex(rows.first());
    if (!node)
        return;
    if (node->path() != currentPath())
        openPath(node->path(), 1);
    m_sourceList.checkItemChildren(node);
}

void ImageBrowserController::historyMove(int segment) {
    const QString target = segment == 0 ? m_history.back(currentPath()) : m_history.forward();
    if (!target.isEmpty())
        openPath(target, segment == 0 ? 2 : 3);
    updateHistoryActions();
}

void ImageBrowserController::updateHistoryActions() {
    m_backAction->setEnabled(m_history.canGoBack());
    m_forwardAction->setEnabled(m_history.canGoForward());
}

void ImageBrowserController::refreshBrowserItemsWithSelection(
    const std::optional<QStringList>& selection) {
    if (selection) {
        m_keptSelection = *selection;
    } else {
        m_keptSelection.clear();
        m_keptCurrent.clear();
    }
    m_content.refresh(!selection.has_value());
}

void ImageBrowserController::forceRefreshBrowser() {
    refreshBrowserItemsWithSelection(std::nullopt);
}

void ImageBrowserController::filterBrowserItems() {
    m_content.setFilter(m_scopeBar->filter());
}

void ImageBrowserController::listingStarted(bool userVisible) {
    if (!userVisible)
        return;
    m_browserInfo->clear();
    m_waitSpin->show();
}

void ImageBrowserController::listingFinished() {
    m_waitSpin->hide();
    if (!m_fileToSelect.isEmpty())
        selectFile(std::exchange(m_fileToSelect, QString()));
    updateItemCount();
    if (!currentPath().isEmpty())
        m_settings.setObject(currentPath(), QLatin1String(SettingsKeys::browser_folder));
}

void ImageBrowserController::itemsAboutToChange() {
    // The selection is kept by path across every change of the grid.
    const QStringList selected = selectedBrowserPaths();
    if (!selected.isEmpty())
        m_keptSelection = selected;
    const QModelIndex current = m_browser->currentIndex();
    if (current.isValid())
        m_keptCurrent = current.data(BrowserGridModel::PathRole).toString();
}

void ImageBrowserController::itemsChanged() {
    if (!m_keptSelection.isEmpty())
        restoreBrowserSelection(m_keptSelection);
    updateItemCount();
}

void ImageBrowserController::updateItemCount() {
    m_browserInfo->setText(itemCountText());
}

QString ImageBrowserController::itemCountText() const {
    return localizedString("ITEM_COUNT", int(m_content.browserItems().size()));
}

QList<BrowserItemPtr> ImageBrowserController::selectedBrowserItems() const {
    QModelIndexList rows = m_browser->selectionModel()->selectedIndexes();
    std::sort(rows.begin(), rows.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QList<BrowserItemPtr> items;
    for (const QModelIndex& row : std::as_const(rows)) {
        if (BrowserItemPtr item = m_content.model()->itemAt(row.row()))
            items.append(item);
    }
    return items;
}

QStringList ImageBrowserController::selectedBrowserPaths() const {
    QStringList paths;
    for (const BrowserItemPtr& item : selectedBrowserItems())
        paths.append(item->path());
    return paths;
}

void ImageBrowserController::restoreBrowserSelection(const QStringList& paths) {
    QItemSelection selection;
    QModelIndex current;
    for (const QString& path : paths) {
        const int row = m_content.model()->rowOfPath(path);
        if (row < 0)
            continue;
        const QModelIndex index = m_content.model()->index(row);
        selection.select(index, index);
        if (path == m_keptCurrent || !current.isValid())
            current = index;
    }
    m_browser->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    if (current.isValid())
        m_browser->selectionModel()->setCurrentIndex(current, QItemSelectionModel::NoUpdate);
}

void ImageBrowserController::selectFile(const QString& path) {
    const int row = m_content.model()->rowOfPath(path);
    if (row < 0)
        return;
    const QModelIndex index = m_content.model()->index(row);
    m_browser->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    m_browser->scrollTo(index);
}

void ImageBrowserController::zoomChanged(int sliderValue) {
    const float zoom = float(sliderValue) / 100.0f;
    m_browser->setZoom(zoom);
    m_settings.setDouble(double(zoom), QLatin1String(SettingsKeys::browser_zoom));
    updateThumbnailSize();
}

void ImageBrowserController::updateThumbnailSize() {
    // The cache's sizes: the smallest that covers the cell's pixels.
    const QRect area =
        BrowserItemDelegate::thumbnailRect(QRect(QPoint(), m_browser->itemDelegate()->cellSize()));
    const int needed = qCeil(qMax(area.width(), area.height()) * devicePixelRatioF());
    int pixels = 128;
    while (pixels < needed && pixels < 1024)
        pixels *= 2;
    m_content.setThumbnailPixels(pixels);
}

void ImageBrowserController::showViewOptions() {
    const bool show = m_scopeBar->isHidden();
    m_viewOptionsAction->setText(localizedString(show ? "Hide View Options" : "Show View Options"));
    auto* animation = new QPropertyAnimation(m_scopeBar, "maximumHeight", this);
    animation->setDuration(250);
    const int height = m_scopeBar->sizeHint().height();
    animation->setStartValue(show ? 0 : height);
    animation->setEndValue(show ? height : 0);
    if (show)
        m_scopeBar->show();
    else
        connect(animation, &QPropertyAnimation::finished, m_scopeBar, &QWidget::hide);
    animation->start(QAbstractAnimation::DeleteWhenStopped);
}

void ImageBrowserController::fillPathMenu() {
    m_pathMenu->clear();
    QString path = currentPath();
    while (!path.isEmpty()) {
        const QString target = path;
        const QString name = QFileInfo(path).fileName();
        m_pathMenu->addAction(themeIcon("folder", QStyle::SP_DirIcon), name.isEmpty() ? path : name,
                              this, [this, target] { openPath(target); });
        if (path == QLatin1String("/"))
            break;
        path = QFileInfo(path).absolutePath();
    }
}

void ImageBrowserController::chooseImportSource() {
    auto* dialog = new QFileDialog(this, localizedString("IMPORT_FROM_CARD"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setFileMode(QFileDialog::Directory);
    dialog->setOption(QFileDialog::ShowDirsOnly);
    const QStringList home = QStandardPaths::standardLocations(QStandardPaths::HomeLocation);
    dialog->setDirectory(QDir(QStringLiteral("/media")).exists() ? QStringLiteral("/media")
                                                                 : home.value(0));
    connect(dialog, &QFileDialog::fileSelected, this, &ImageBrowserController::importRequested);
    dialog->open();
}
