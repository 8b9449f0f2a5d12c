// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "camera/CameraFile.h"
#include "camera/CameraThumbnailDelegate.h"
#include "transfer/TransferAction.h"

#include <QDialog>
#include <QImage>
#include <QTimer>

#include <functional>
#include <memory>

class Camera;
class Transferer;
class TransferDestinationsPage;
class TransferPromptPage;
class TransferProgressPage;
class TransferRunSession;
class TransferScan;
class TransferSetupPage;
struct TransferSummary;

namespace Ui {
class TransferAssistant;
}

// The window every transfer runs through, in four pages: setup (source,
// destination pattern, mode; after the scan, when the import history knows
// some files, how many are new and the choice to import only those),
// prompt (a date and a description for each group of the scan, only when
// the pattern holds "%P"), destinations (each destination file system with
// the bytes to write and the room free; a run that cannot fit says what is
// missing where and cannot be started) and transfer (progress, then
// "Completed!" with the counts). It owns the transferer; the scan, the
// space check and the run work on pool threads (TransferScan,
// TransferRunSession) and report back on the main thread.
//
// Cancel acts by state: while the run works, the first press only asks it
// to stop after the current file; otherwise the assistant is reset and the
// window closed. With "transfer_browse" on, the first group's folder is
// browsed 3 seconds after the run (browseHandler).
//
// Main thread only. Not modal; callers show it with showWindow().
class TransferAssistantController : public QDialog, public CameraThumbnailDelegate {
    Q_OBJECT

public:
    // `reviewing`: back on the setup page after a scan that found files
    // imported before, until Next takes the choice of new files only.
    // `confirming`: the destinations and their free space are shown; Next
    // starts the run when it fits.
    enum class State {
        setup,
        scanning,
        reviewing,
        prompting,
        confirming,
        transferring,
        finished,
        closed
    };

    using BrowseHandler = std::function<void(const QString& folder)>;

    // On a camera: its name is the source, which cannot be changed. On a
    // device camera the assistant hears of thumbnails arriving later.
    explicit TransferAssistantController(std::shared_ptr<Camera> camera, QWidget* parent = nullptr);
    // On a folder: every non-hidden file below it is a candidate.
    explicit TransferAssistantController(const QString& sourcePath, QWidget* parent = nullptr);
    ~TransferAssistantController() override;

    void showWindow();

    // Opens a folder after the run; by default the desktop's file manager.
    void setBrowseHandler(BrowseHandler handler) { m_browseHandler = std::move(handler); }

    // The actions.
    void next();
    void cancel();
    void chooseSource();
    void chooseDestination();
    void showMaskHelp();
    void stepThumbnail(int segment);
    void recallValues();
    // Cancels (closing the window) and browses the folder of `action`.
    void finish(const TransferActionPtr& action);

    // CameraThumbnailDelegate, for an assistant on a device camera.
    void cameraFileThumbnailBecomeReady(GPhotoFile* file) override;

    // A device camera's thumbnail has arrived: `isFile` tells whether a
    // camera file is the one it belongs to.
    void thumbnailArrived(const std::function<bool(const CameraFilePtr&)>& isFile,
                          const QImage& thumbnail);

    State state() const { return m_currentState; }
    bool canceled() const { return m_isCanceled; }
    QString sourcePath() const { return m_source; }
    std::shared_ptr<Transferer> transferer() const { return m_plan; }
    std::shared_ptr<Camera> camera() const { return m_sourceCamera; }
    TransferSetupPage* setupPage() const { return m_setup; }
    TransferPromptPage* promptPage() const { return m_prompt; }
    TransferProgressPage* progressPage() const { return m_progress; }
    TransferRunSession* runSession() const { return m_session; }
    QTimer* browseTimer() { return &m_browseAfterRun; }

    // Escape and the window's close button act as the cancel button.
    void reject() override;

private:
    void windowDidLoad();
    void nextSetup();
    void nextPrompt();
    void nextReview();
    void scanDone();
    void showPrompt();
    void confirmDestinations();
    void startTransfer();
    void runFinished(const TransferSummary& summary);
    void reset();
    void selectPage(int index);

    std::unique_ptr<Ui::TransferAssistant> m_ui;
    std::shared_ptr<Camera> m_sourceCamera;
    QString m_source;
    std::shared_ptr<Transferer> m_plan;
    State m_currentState = State::setup;
    bool m_isCanceled = false;
    BrowseHandler m_browseHandler;
    QTimer m_browseAfterRun;
    TransferActionPtr m_firstAction;

    TransferSetupPage* m_setup;
    TransferPromptPage* m_prompt;
    TransferProgressPage* m_progress;
    TransferDestinationsPage* m_destinations;
    TransferScan* m_scan;
    QList<TransferActionPtr> m_plannedActions;
    quint64 m_spaceRequest = 0; // only the latest measurement is shown
    bool m_destinationsFit = false;
    int m_leftOutAsImported = 0;
    TransferRunSession* m_session = nullptr;
};
