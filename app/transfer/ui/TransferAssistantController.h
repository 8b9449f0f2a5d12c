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
class TransferPromptPage;
class TransferProgressPage;
class TransferRunSession;
class TransferScan;
class TransferSetupPage;
struct TransferSummary;

namespace Ui {
class TransferAssistant;
}

// The window every transfer runs through, in three pages: setup (source,
// destination pattern, mode), prompt (a date and a description for each
// group of the scan, only when the pattern holds "%P") and transfer
// (progress, then "Completed!"). It owns the transferer; the scan and the
// run work on pool threads (TransferScan, TransferRunSession) and report
// back on the main thread.
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
    enum class State { setup, scanning, prompting, transferring, finished, closed };

    using BrowseHandler = std::function<void(const QString& folder)>;

    // On a camera: its name is the source, which cannot be changed. On a
    // device camera the assistant hears of thumbnails arriving later.
    explicit TransferAssistantController(std::shared_ptr<Camera> camera, QWidget* parent = nullptr);
    // On a folder: every non-hidden file below it is a candidate.
    explicit TransferAssistantController(const QString& sourcePath, QWidget* parent = nullptr);
    ~TransferAssistantController() override;

    void showWindow();

    // Opens a folder after the run; by default the desktop's file manager.
    void setBrowseHandler(BrowseHandler handler) { browseHandler = std::move(handler); }

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

    State state() const { return currentState; }
    bool canceled() const { return isCanceled; }
    QString sourcePath() const { return source; }
    std::shared_ptr<Transferer> transferer() const { return plan; }
    std::shared_ptr<Camera> camera() const { return sourceCamera; }
    TransferSetupPage* setupPage() const { return setup; }
    TransferPromptPage* promptPage() const { return prompt; }
    TransferProgressPage* progressPage() const { return progress; }
    TransferRunSession* runSession() const { return session; }
    QTimer* browseTimer() { return &browseAfterRun; }

    // Escape and the window's close button act as the cancel button.
    void reject() override;

private:
    void windowDidLoad();
    void nextSetup();
    void nextPrompt();
    void scanDone();
    void showPrompt();
    void startTransfer();
    void runFinished(const TransferSummary& summary);
    void reset();
    void selectPage(int index);

    std::unique_ptr<Ui::TransferAssistant> ui;
    std::shared_ptr<Camera> sourceCamera;
    QString source;
    std::shared_ptr<Transferer> plan;
    State currentState = State::setup;
    bool isCanceled = false;
    BrowseHandler browseHandler;
    QTimer browseAfterRun;
    TransferActionPtr firstAction;

    TransferSetupPage* setup;
    TransferPromptPage* prompt;
    TransferProgressPage* progress;
    TransferScan* scan;
    TransferRunSession* session = nullptr;
};
