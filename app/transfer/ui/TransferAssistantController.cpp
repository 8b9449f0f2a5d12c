// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferAssistantController.h"

#include "ui_TransferAssistant.h"

#include "TransferDestinationsPage.h"
#include "TransferProgressPage.h"
#include "TransferPromptPage.h"
#include "TransferRunSession.h"
#include "TransferScan.h"
#include "TransferSetupPage.h"

#include "Localization.h"
#include "PoolTask.h"
#include "UserDefaults.h"
#include "camera/CameraDevice.h"
#include "camera/CameraDeviceFile.h"
#include "camera/CameraDrive.h"
#include "camera/gphoto/GPhotoFile.h"
#include "settings/SettingsKeys.h"
#include "transfer/OverwriteMode.h"
#include "transfer/SpaceCheck.h"
#include "transfer/Transferer.h"
#include "widgets/ApplicationUtils.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QGraphicsOpacityEffect>
#include <QScreen>
#include <QSet>
#include <QStyle>
#include <QThreadPool>
#include <QUrl>

#include <utility>

namespace {

enum Page {
    setupPageIndex = 0,
    promptPageIndex = 1,
    transferPageIndex = 2,
    destinationsPageIndex = 3
};

constexpr int browseDelayMs = 3000;
constexpr int logoSize = 128;

void openInFileManager(const QString& folder) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

} // namespace

TransferAssistantController::TransferAssistantController(std::shared_ptr<Camera> camera,
                                                         QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::TransferAssistant>())
    , m_sourceCamera(std::move(camera))
    , m_plan(std::make_shared<Transferer>())
    , m_browseHandler(openInFileManager) {
    // Asked here, before any listing: a drive caches its title unlocked.
    if (m_sourceCamera)
        m_source = m_sourceCamera->title();
    if (auto* device = dynamic_cast<CameraDevice*>(m_sourceCamera.get()))
        device->setThumbnailDelegate(this);
    windowDidLoad();
}

TransferAssistantController::TransferAssistantController(const QString& sourcePath, QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::TransferAssistant>())
    , m_source(sourcePath)
    , m_plan(std::make_shared<Transferer>())
    , m_browseHandler(openInFileManager) {
    windowDidLoad();
}

TransferAssistantController::~TransferAssistantController() {
    // Stops a run still at work; its reports no longer reach the pages.
    delete m_session;
    // The camera outlives this window; it must not call back into it.
    if (auto* device = dynamic_cast<CameraDevice*>(m_sourceCamera.get()))
        device->setThumbnailDelegate(nullptr);
}

void TransferAssistantController::windowDidLoad() {
    m_ui->setupUi(this);
    m_setup = new TransferSetupPage(*m_ui, this);
    m_prompt = new TransferPromptPage(*m_ui, this);
    m_progress = new TransferProgressPage(*m_ui, this);
    m_destinations = new TransferDestinationsPage(*m_ui, this);
    m_scan = new TransferScan(this, this);

    QIcon logo = QIcon::fromTheme(QStringLiteral("pixhaul"),
                                  QIcon::fromTheme(QStringLiteral("camera-photo")));
    if (logo.isNull())
        logo = style()->standardIcon(QStyle::SP_DirIcon);
    m_ui->logo->setPixmap(logo.pixmap(logoSize));
    auto* faded = new QGraphicsOpacityEffect(m_ui->logo);
    faded->setOpacity(0.3);
    m_ui->logo->setGraphicsEffect(faded);

    m_setup->load(m_source, m_sourceCamera != nullptr);
    m_prompt->loadHistory();
    selectPage(setupPageIndex);

    connect(m_ui->nextButton, &QPushButton::clicked, this, &TransferAssistantController::next);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &TransferAssistantController::cancel);
    connect(m_ui->showInBrowserButton, &QPushButton::clicked, this, [this] {
        m_browseAfterRun.stop();
        finish(m_firstAction);
    });
    connect(m_scan, &TransferScan::done, this, &TransferAssistantController::scanDone);
    m_browseAfterRun.setSingleShot(true);
    m_browseAfterRun.setInterval(browseDelayMs);
    connect(&m_browseAfterRun, &QTimer::timeout, this, [this] { finish(m_firstAction); });
}

void TransferAssistantController::showWindow() {
    if (m_currentState == State::closed)
        m_currentState = State::setup;
    adjustSize();
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    show();
    raise();
    activateWindow();
}

void TransferAssistantController::selectPage(int index) {
    m_setup->hideMaskHelp();
    m_ui->tabView->setCurrentIndex(index);
    if (index == setupPageIndex || index == destinationsPageIndex)
        m_ui->nextButton->setFocus();
    else if (index == transferPageIndex)
        m_ui->cancelButton->setFocus();
}

void TransferAssistantController::next() {
    if (m_ui->tabView->currentIndex() == setupPageIndex && m_currentState == State::reviewing)
        nextReview();
    else if (m_ui->tabView->currentIndex() == setupPageIndex)
        nextSetup();
    else if (m_ui->tabView->currentIndex() == promptPageIndex)
        nextPrompt();
    else if (m_ui->tabView->currentIndex() == destinationsPageIndex &&
             m_currentState == State::confirming && m_destinationsFit)
        startTransfer();
}

void TransferAssistantController::nextSetup() {
    if (m_currentState != State::setup || !m_setup->validate(m_sourceCamera != nullptr))
        return;
    m_plan->setMode(m_setup->acceptMode());
    m_currentState = State::scanning;

    std::shared_ptr<Camera> camera = m_sourceCamera;
    if (!camera) {
        auto folder = std::make_shared<CameraDrive>();
        folder->setPath(m_setup->sourceText());
        folder->setImagePath(m_setup->sourceText());
        camera = folder;
    }
    m_scan->start(m_plan, camera);
}

void TransferAssistantController::scanDone() {
    if (m_currentState != State::scanning)
        return;
    if (m_plan->targets().isEmpty()) {
        ApplicationUtils::alert(Localization::localizedString("EMPTY_CAMERA"),
                                ApplicationUtils::AlertStyleCritical, this);
        cancel();
        return;
    }
    const qsizetype known = m_scan->importedFiles().size();
    if (known > 0) {
        qsizetype files = 0;
        for (const TransferTarget& group : m_plan->targets())
            files += group.items().size();
        m_currentState = State::reviewing;
        m_setup->showHistory(int(files - known), int(known));
        selectPage(setupPageIndex);
        return;
    }
    showPrompt();
}

void TransferAssistantController::nextReview() {
    m_leftOutAsImported = 0;
    if (m_setup->newOnly()) {
        m_leftOutAsImported = int(m_scan->importedFiles().size());
        QSet<const CameraFile*> known;
        for (const CameraFilePtr& file : m_scan->importedFiles())
            known.insert(file.get());
        m_plan->removeFiles(
            [&known](const CameraFilePtr& file) { return known.contains(file.get()); });
        if (m_plan->targets().isEmpty()) {
            ApplicationUtils::alert(Localization::localizedString("TRANSFER_NOTHING_NEW"),
                                    ApplicationUtils::AlertStyleInformational, this);
            cancel();
            return;
        }
    }
    showPrompt();
}

void TransferAssistantController::showPrompt() {
    if (m_setup->destinationText().contains(QLatin1String("%P"))) {
        m_currentState = State::prompting;
        selectPage(promptPageIndex);
        m_prompt->begin(m_plan);
        return;
    }
    confirmDestinations();
}

void TransferAssistantController::nextPrompt() {
    if (m_currentState == State::prompting && m_prompt->nextPrompt())
        confirmDestinations();
}

void TransferAssistantController::confirmDestinations() {
    UserDefaults& settings = UserDefaults::standardUserDefaults();
    m_plannedActions = m_plan->getActionsFor(m_setup->destinationText(), settings);
    const bool skipExisting =
        settings.integerForKey(QLatin1String(SettingsKeys::transfer_overwrite_mode)) ==
        OverwriteModeSkip;
    m_currentState = State::confirming;
    m_destinationsFit = false;
    m_ui->nextButton->setEnabled(false);
    selectPage(destinationsPageIndex);
    // Copies are read back and compared by a hash; a device camera offers
    // none, so its downloads are checked by their size only: said here.
    const bool verified = m_plan->mode() == TransferModeMove ||
                          settings.boolForKey(QLatin1String(SettingsKeys::transfer_verify));
    bool sizeOnly = false;
    for (const TransferTarget& group : m_plan->targets()) {
        for (const CameraFilePtr& file : group.items())
            sizeOnly = sizeOnly || (verified && !file->canVerifyContents());
    }
    m_destinations->begin(sizeOnly);
    // Free space and taken names are asked of the disks: off this thread.
    const quint64 request = ++m_spaceRequest;
    auto* measuring = new QFutureWatcher<SpaceCheck>(this);
    connect(measuring, &QFutureWatcherBase::finished, this, [this, measuring, request] {
        measuring->deleteLater();
        if (m_currentState != State::confirming || request != m_spaceRequest)
            return;
        // A run that cannot fit is not started: Next stays off.
        const bool fits = m_destinations->showSpace(measuring->result());
        m_destinationsFit = fits;
        m_ui->nextButton->setEnabled(fits);
        if (fits)
            m_ui->nextButton->setFocus();
    });
    measuring->setFuture(
        PoolTask::run(QThreadPool::globalInstance(), [actions = m_plannedActions, skipExisting] {
            return SpaceCheck::forActions(actions, skipExisting);
        }));
}

void TransferAssistantController::startTransfer() {
    const QList<TransferActionPtr> actions = std::exchange(m_plannedActions, {});
    m_isCanceled = false;
    m_currentState = State::transferring;
    m_ui->nextButton->setEnabled(false);
    selectPage(transferPageIndex);
    m_progress->begin(int(actions.size()), m_plan->totalBytes(), m_leftOutAsImported);
    m_firstAction = actions.value(0);
    delete m_session;
    m_session = new TransferRunSession(actions, this, this);
    connect(m_session, &TransferRunSession::fileStarted, m_progress,
            &TransferProgressPage::fileStarted);
    connect(m_session, &TransferRunSession::bytesDone, m_progress,
            &TransferProgressPage::bytesDone);
    connect(m_session, &TransferRunSession::finished, this,
            &TransferAssistantController::runFinished);
    m_session->start();
}

void TransferAssistantController::runFinished(const TransferSummary& summary) {
    m_progress->finished(summary);
    if (m_currentState == State::transferring)
        m_currentState = State::finished;
    if (UserDefaults::standardUserDefaults().boolForKey(
            QLatin1String(SettingsKeys::transfer_browse)) &&
        m_firstAction) {
        m_browseAfterRun.start();
    }
}

void TransferAssistantController::cancel() {
    if (m_ui->tabView->currentIndex() == transferPageIndex && !m_isCanceled) {
        // The run stops after its current file; the window stays.
        m_isCanceled = true;
        if (m_session)
            m_session->cancel();
        return;
    }
    reset();
    m_currentState = State::closed;
    // Ends a modal loop as well when the window runs as a modal panel.
    QDialog::done(QDialog::Rejected);
}

void TransferAssistantController::reject() {
    cancel();
}

void TransferAssistantController::reset() {
    m_ui->nextButton->setEnabled(true);
    m_setup->hideHistory(m_sourceCamera != nullptr);
    selectPage(setupPageIndex);
    m_plan = std::make_shared<Transferer>();
}

void TransferAssistantController::finish(const TransferActionPtr& action) {
    cancel();
    if (action && m_browseHandler)
        m_browseHandler(QFileInfo(action->destination()).absolutePath());
}

void TransferAssistantController::chooseSource() {
    m_setup->chooseSource();
}

void TransferAssistantController::chooseDestination() {
    m_setup->chooseDestination();
}

void TransferAssistantController::showMaskHelp() {
    m_setup->showMaskHelp();
}

void TransferAssistantController::stepThumbnail(int segment) {
    m_prompt->stepThumbnail(segment);
}

void TransferAssistantController::recallValues() {
    m_prompt->recallValues();
}

void TransferAssistantController::thumbnailArrived(
    const std::function<bool(const CameraFilePtr&)>& isFile, const QImage& thumbnail) {
    if (m_ui->tabView->currentIndex() == promptPageIndex)
        m_prompt->thumbnailBecameReady(isFile);
    else if (m_ui->tabView->currentIndex() == transferPageIndex && !thumbnail.isNull())
        m_progress->showThumbnail(thumbnail);
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
