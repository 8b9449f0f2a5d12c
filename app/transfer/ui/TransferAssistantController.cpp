// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferAssistantController.h"

#include "ui_TransferAssistant.h"

#include "TransferProgressPage.h"
#include "TransferPromptPage.h"
#include "TransferRunSession.h"
#include "TransferScan.h"
#include "TransferSetupPage.h"

#include "Localization.h"
#include "UserDefaults.h"
#include "camera/CameraDevice.h"
#include "camera/CameraDeviceFile.h"
#include "camera/CameraDrive.h"
#include "camera/gphoto/GPhotoFile.h"
#include "settings/SettingsKeys.h"
#include "transfer/Transferer.h"
#include "widgets/ApplicationUtils.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QGraphicsOpacityEffect>
#include <QScreen>
#include <QStyle>
#include <QUrl>

namespace {

enum Page { setupPageIndex = 0, promptPageIndex = 1, transferPageIndex = 2 };

constexpr int browseDelayMs = 3000;
constexpr int logoSize = 128;

void openInFileManager(const QString& folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

} // namespace

TransferAssistantController::TransferAssistantController(std::shared_ptr<Camera> camera,
                                                         QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TransferAssistant>())
    , sourceCamera(std::move(camera))
    , plan(std::make_shared<Transferer>())
    , browseHandler(openInFileManager) {
    // Asked here, before any listing: a drive caches its title unlocked.
    if (sourceCamera)
        source = sourceCamera->title();
    if (auto* device = dynamic_cast<CameraDevice*>(sourceCamera.get()))
        device->setThumbnailDelegate(this);
    windowDidLoad();
}

TransferAssistantController::TransferAssistantController(const QString& sourcePath, QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TransferAssistant>())
    , source(sourcePath)
    , plan(std::make_shared<Transferer>())
    , browseHandler(openInFileManager) {
    windowDidLoad();
}

TransferAssistantController::~TransferAssistantController() {
    // Stops a run still at work; its reports no longer reach the pages.
    delete session;
    // The camera outlives this window; it must not call back into it.
    if (auto* device = dynamic_cast<CameraDevice*>(sourceCamera.get()))
        device->setThumbnailDelegate(nullptr);
}

void TransferAssistantController::windowDidLoad() {
    ui->setupUi(this);
    setup = new TransferSetupPage(*ui, this);
    prompt = new TransferPromptPage(*ui, this);
    progress = new TransferProgressPage(*ui, this);
    scan = new TransferScan(this, this);

    QIcon logo = QIcon::fromTheme(QStringLiteral("pixhaul"),
                                  QIcon::fromTheme(QStringLiteral("camera-photo")));
    if (logo.isNull())
        logo = style()->standardIcon(QStyle::SP_DirIcon);
    ui->logo->setPixmap(logo.pixmap(logoSize));
    auto* faded = new QGraphicsOpacityEffect(ui->logo);
    faded->setOpacity(0.3);
    ui->logo->setGraphicsEffect(faded);

    setup->load(source, sourceCamera != nullptr);
    prompt->loadHistory();
    selectPage(setupPageIndex);

    connect(ui->nextButton, &QPushButton::clicked, this, &TransferAssistantController::next);
    connect(ui->cancelButton, &QPushButton::clicked, this, &TransferAssistantController::cancel);
    connect(scan, &TransferScan::done, this, &TransferAssistantController::scanDone);
    browseAfterRun.setSingleShot(true);
    browseAfterRun.setInterval(browseDelayMs);
    connect(&browseAfterRun, &QTimer::timeout, this, [this] { finish(firstAction); });
}

void TransferAssistantController::showWindow() {
    if (currentState == State::closed)
        currentState = State::setup;
    adjustSize();
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void TransferAssistantController::selectPage(int index) {
    setup->hideMaskHelp();
    ui->tabView->setCurrentIndex(index);
    if (index == setupPageIndex)
        ui->nextButton->setFocus();
    else if (index == transferPageIndex)
        ui->cancelButton->setFocus();
}

void TransferAssistantController::next() {
    if (ui->tabView->currentIndex() == setupPageIndex)
        nextSetup();
    else if (ui->tabView->currentIndex() == promptPageIndex)
        nextPrompt();
}

void TransferAssistantController::nextSetup() {
    if (currentState != State::setup || !setup->validate(sourceCamera != nullptr))
        return;
    plan->setMode(setup->acceptMode());
    currentState = State::scanning;

    std::shared_ptr<Camera> camera = sourceCamera;
    if (!camera) {
        auto folder = std::make_shared<CameraDrive>();
        folder->setPath(setup->sourceText());
        folder->setImagePath(setup->sourceText());
        camera = folder;
    }
    scan->start(plan, camera);
}

void TransferAssistantController::scanDone() {
    if (currentState != State::scanning)
        return;
    if (plan->targets().isEmpty()) {
        ApplicationUtils::alert(Localization::localizedString("EMPTY_CAMERA"),
                                ApplicationUtils::AlertStyleCritical, this);
        cancel();
        return;
    }
    showPrompt();
}

void TransferAssistantController::showPrompt() {
    if (setup->destinationText().contains(QLatin1String("%P"))) {
        currentState = State::prompting;
        selectPage(promptPageIndex);
        prompt->begin(plan);
        return;
    }
    startTransfer();
}

void TransferAssistantController::nextPrompt() {
    if (currentState == State::prompting && prompt->nextPrompt())
        startTransfer();
}

void TransferAssistantController::startTransfer() {
    isCanceled = false;
    currentState = State::transferring;
    ui->nextButton->setEnabled(false);
    selectPage(transferPageIndex);
    progress->begin(plan->totalBytes());

    const QList<TransferActionPtr> actions =
        plan->getActionsFor(setup->destinationText(), UserDefaults::standardUserDefaults());
    firstAction = actions.value(0);
    delete session;
    session = new TransferRunSession(actions, this, this);
    connect(session, &TransferRunSession::fileStarted, progress,
            &TransferProgressPage::fileStarted);
    connect(session, &TransferRunSession::bytesDone, progress, &TransferProgressPage::bytesDone);
    connect(session, &TransferRunSession::finished, this,
            &TransferAssistantController::runFinished);
    session->start();
}

void TransferAssistantController::runFinished(const TransferSummary& summary) {
    progress->finished(summary);
    if (currentState == State::transferring)
        currentState = State::finished;
    if (UserDefaults::standardUserDefaults().boolForKey(
            QLatin1String(SettingsKeys::transfer_browse)) &&
        firstAction) {
        browseAfterRun.start();
    }
}

void TransferAssistantController::cancel() {
    if (ui->tabView->currentIndex() == transferPageIndex && !isCanceled) {
        // The run stops after its current file; the window stays.
        isCanceled = true;
        if (session)
            session->cancel();
        return;
    }
    reset();
    currentState = State::closed;
    // Ends a modal loop as well when the window runs as a modal panel.
    QDialog::done(QDialog::Rejected);
}

void TransferAssistantController::reject() {
    cancel();
}

void TransferAssistantController::reset() {
    ui->nextButton->setEnabled(true);
    selectPage(setupPageIndex);
    plan = std::make_shared<Transferer>();
}

void TransferAssistantController::finish(const TransferActionPtr& action) {
    cancel();
    if (action && browseHandler)
        browseHandler(QFileInfo(action->destination()).absolutePath());
}

void TransferAssistantController::chooseSource() {
    setup->chooseSource();
}

void TransferAssistantController::chooseDestination() {
    setup->chooseDestination();
}

void TransferAssistantController::showMaskHelp() {
    setup->showMaskHelp();
}

void TransferAssistantController::stepThumbnail(int segment) {
    prompt->stepThumbnail(segment);
}

void TransferAssistantController::recallValues() {
    prompt->recallValues();
}

void TransferAssistantController::thumbnailArrived(
    const std::function<bool(const CameraFilePtr&)>& isFile, const QImage& thumbnail) {
    if (ui->tabView->currentIndex() == promptPageIndex)
        prompt->thumbnailBecameReady(isFile);
    else if (ui->tabView->currentIndex() == transferPageIndex && !thumbnail.isNull())
        progress->showThumbnail(thumbnail);
}

void TransferAssistantController::cameraFileThumbnailBecomeReady(GPhotoFile* file) {
    if (!file)
        return;
    thumbnailArrived(
        [file](const CameraFilePtr& item) {
            const auto* deviceFile = dynamic_cast<const CameraDeviceFile*>(item.get());
            return deviceFile && deviceFile->is(file);
        },
        file->thumbnailIfAvailable());
}
