// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "browser/BrowserItem.h"
#include "browser/InfoPanelRows.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>

#include <functional>

class ImageBrowserController;
class InfoPanel;
class QAction;
class QMenu;
class QuickPreviewWindow;
class StartAtLoginController;
class TransferAssistantController;
class BatchProcessWindow;
class UserDefaults;

// What the browser does with its selected items besides changing files:
// opening them (a folder in the browser, images in the viewer, a movie in
// its default application), the Return key and double clicks, the
// information panel, the quick preview, printing, hand-over to the image
// editor and the photo library, the desktop picture, copying the picture,
// the transfer and batch entry points and the help page. Owns the menu
// and tool-bar actions of these commands and keeps their enabling current.
// Main thread.
class BrowserItemActions : public QObject {
    Q_OBJECT
public:
    // `settings` must outlive the actions (the first-run question).
    BrowserItemActions(ImageBrowserController& browser, UserDefaults& settings);
    ~BrowserItemActions() override;

    // The grid menu's entries for the selection (before "Move to Trash");
    // false when none applies.
    bool addSelectionMenuEntries(QMenu* menu);

    // The Return key in the grid: one item opens, a selection of images
    // only goes to the viewer, anything else does nothing.
    void collectionViewEnterPressed();
    void openBrowserItem(const BrowserItemPtr& item);
    void openBrowserItemFromMenu();
    void fullscreenBrowserItems();
    void slideshowBrowserItems();
    void showFullscreenBrowserItems(bool slideshow);
    void showImagesFullscreen(bool fromSelection, const BrowserItemPtr& item, bool slideshow);
    void quickLookBrowserItems();
    void editBrowserItems();
    void addBrowserItemsToIPhoto();
    void copyImageContent();
    void setAsDesktopImage();
    void printImages();
    void batchProcess();
    void downloadImages();
    // From a drive's menu: a card ("DCIM" inside) as a camera, else a folder.
    void downloadImagesFromDrive(const QString& drivePath);
    void showHelp();
    void showInformation();
    // The rows and the commands' enabling follow the selection.
    void selectionChanged();

    // The answer goes to `login` (kept by the caller for the process).
    bool askStartAtLoginIfFirstRun(StartAtLoginController& login);

    const QList<InfoPanelRows::Row>& currentItemInfo() const { return m_currentItemInfo; }
    InfoPanel* informationPanel() const { return m_informationPanel; }
    QuickPreviewWindow* quickPreview() const { return m_quickPreview; }
    TransferAssistantController* transferController() const;
    BatchProcessWindow* batchProcessFlow() const;
    // Where the item's thumbnail is on screen; empty when it is not in the grid.
    QRect thumbnailScreenRect(const BrowserItemPtr& item) const;

    // How a movie is opened in its default application (tests replace it).
    using FileOpener = std::function<void(const QString& path)>;
    void setFileOpener(FileOpener opener) { m_openFile = std::move(opener); }

    // The maker's page about the product's features.
    static constexpr const char* helpPage = "https://www.zentrovo.com/pixhaul/features";

private:
    QAction* addAction(const char* titleKey, const char* name, void (BrowserItemActions::*slot)());
    // The commands' places in the browser's menu bar and tool bar.
    void installInMenus();
    void updateActions();
    // Reads the selection's rows on the pool while the panel shows; a
    // hidden panel is brought up to date when it next shows.
    void updateInformation();
    void showTransferAssistant(TransferAssistantController* assistant);

    ImageBrowserController& m_browser;
    UserDefaults& m_settings;
    InfoPanelRows m_rows;
    QList<InfoPanelRows::Row> m_currentItemInfo;
    // Only the latest read's rows are shown.
    quint64 m_informationRequest = 0;
    bool m_informationStale = true;
    InfoPanel* m_informationPanel;
    QuickPreviewWindow* m_quickPreview;
    QPointer<TransferAssistantController> m_transferController;
    QPointer<BatchProcessWindow> m_batchProcessFlow;
    FileOpener m_openFile;
    QString m_editorEntry;
    QString m_libraryEntry;

    QAction* m_viewAction = nullptr;
    QAction* m_slideshowAction = nullptr;
    QAction* m_quickLookAction = nullptr;
    QAction* m_informationAction = nullptr;
    QAction* m_printAction = nullptr;
    QAction* m_editAction = nullptr;
    QAction* m_libraryAction = nullptr;
    QAction* m_desktopAction = nullptr;
    QAction* m_copyImageAction = nullptr;
    QAction* m_batchAction = nullptr;
    QAction* m_downloadAction = nullptr;
    QAction* m_helpAction = nullptr;
};
