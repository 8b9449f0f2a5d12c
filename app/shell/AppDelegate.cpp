// SPDX-License-Identifier: GPL-3.0-or-later
#include "AppDelegate.h"

#include "AboutBoxController.h"
#include "ApplicationBusService.h"
#include "GeneralPreferencesController.h"
#include "PreferencesWindowController.h"
#include "TransferPreferencesController.h"
#include "ViewerPreferencesController.h"
#include "browser/ThumbnailMaker.h"
#include "browser/ui/BrowserItemActions.h"
#include "browser/ui/ImageBrowserController.h"
#include "camera/CameraDevice.h"
#include "camera/CameraDrive.h"
#include "camera/gphoto/GPhotoDevice.h"
#include "camera/gphoto/GPhotoDeviceBrowser.h"
#include "settings/SettingsDefaults.h"
#include "transfer/Transferer.h"
#include "transfer/ui/TransferAssistantController.h"
#include "viewer/ui/ImageViewerController.h"

#include "DecodeLimits.h"
#include "DistributedNotificationCenter.h"
#include "FileUtils.h"
#include "Localization.h"
#include "MovieFrameReader.h"
#include "UserDefaults.h"
#include "widgets/ApplicationUtils.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QLoggingCategory>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <QtConcurrent/QtConcurrentRun>

Q_LOGGING_CATEGORY(lcShell, "pixhaul.shell")

namespace {

const QString launcherIdentifier = QStringLiteral("com.zentrovo.pixhaul.launcher");

bool anyWindowVisible() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.begin(), windows.end(),
                       [](const QWidget* w) { return w->isVisible() && w->isWindow(); });
}

} // namespace

AppDelegate::AppDelegate(const QStringList& arguments, QObject* parent)
    : QObject(parent)
    , m_fromDetector(arguments.contains(QStringLiteral("-transfer"))) {}

AppDelegate::~AppDelegate() {
    applicationWillTerminate();
}

TransferAssistantController* AppDelegate::transferController() const {
    return m_transfer;
}

ImageBrowserController* AppDelegate::imageBrowserController() const {
    return m_browser;
}

bool AppDelegate::becomePrimaryInstance() {
    if (!m_busService) {
        m_busService = new ApplicationBusService(this);
        connect(m_busService, &ApplicationBusService::reopenRequested, this,
                [this] { applicationShouldHandleReopen(anyWindowVisible()); });
        connect(m_busService, &ApplicationBusService::openFilesRequested, this,
                &AppDelegate::openFiles);
    }
    return m_busService->registerPrimaryInstance();
}

void AppDelegate::awakeFromNib() {
    SettingsDefaults::registerDefaults(UserDefaults::standardUserDefaults());
    // Real photographs decode; movie thumbnails come from FFmpeg.
    DecodeLimits::allowLargePhotographs();
    ThumbnailMaker::setMovieFrameSource([](const QString& path, int pixels) {
        return MovieFrameReader(path).frameNearStart(QSize(pixels, pixels));
    });

    m_notifications = new DistributedNotificationCenter(this);
    connect(m_notifications, &DistributedNotificationCenter::notificationReceived, this,
            [this](const QString&, const QVariantMap& userInfo) { doStartup(userInfo); });
    if (!m_notifications->addObserver(QStringLiteral("launchWithData")))
        qCWarning(lcShell) << "no session bus: camera cards are not offered by the launcher";

    m_deviceBrowser = new GPhotoDeviceBrowser(this);
    connect(m_deviceBrowser, &GPhotoDeviceBrowser::deviceAdded, this, &AppDelegate::deviceAdded);
    m_deviceBrowser->start();

    m_login = std::make_unique<StartAtLoginController>(
        launcherIdentifier, GeneralPreferencesController::launcherCommand());
}

void AppDelegate::applicationDidFinishLaunching() {
    // A folder handed over at start is already on screen.
    if (!m_handedImages)
        applicationShouldHandleReopen(anyWindowVisible());
}

bool AppDelegate::applicationShouldHandleReopen(bool hasVisibleWindows) {
    if (m_fromDetector) {
        m_fromDetector = false;
        return true;
    }
    if (!hasVisibleWindows) {
        browseImages();
        return false;
    }
    return true;
}

void AppDelegate::applicationWillTerminate() {
    if (m_deviceBrowser)
        m_deviceBrowser->stop();
}

void AppDelegate::openFiles(const QStringList& paths) {
    if (paths.isEmpty())
        return;
    if (paths.size() == 1 && QFileInfo(paths.first()).isDir()) {
        importFromFolder(paths.first());
        return;
    }
    int index = 0;
    QStringList images;
    if (paths.size() > 1)
        images = paths;
    else
        images = imagesBesideFile(paths.first(), &index);
    if (images.isEmpty()) {
        // Nothing to show full screen: the folder is the next best thing.
        browseImagesAtPath(QFileInfo(paths.first()).absolutePath());
        return;
    }
    m_handedImages = images;
    showFullscreen(images, false, index);
}

bool AppDelegate::openFile(const QString& path) const {
    return FileUtils::isImageFile(path);
}

QStringList AppDelegate::imagesBesideFile(const QString& file, int* index) {
    const QString handed = QDir::cleanPath(QFileInfo(file).absoluteFilePath());
    const QString folder = QFileInfo(handed).absolutePath();
    QStringList images;
    *index = 0;
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QString& entry : entries) {
        const QString path = QDir::cleanPath(folder + QLatin1Char('/') + entry);
        if (!FileUtils::isImageFile(path))
            continue;
        if (path == handed)
            *index = int(images.size());
        images.append(path);
    }
    return images;
}

void AppDelegate::importFromFolder(const QString& path) {
    auto drive = std::make_shared<CameraDrive>(path);
    if (drive->isDefined())
        runTransferWithCamera(drive);
    else
        browseImagesAtPath(path);
}

void AppDelegate::browseImages() {
    browseImagesAtPath(QString());
}

void AppDelegate::browseImagesAtPath(const QString& path) {
    // One browser for the life of the process, made on first use.
    bool created = false;
    if (!m_browser) {
        m_browser = new ImageBrowserController(UserDefaults::standardUserDefaults());
        connect(m_browser, &ImageBrowserController::importRequested, this,
                &AppDelegate::importFromFolder);
        connect(m_browser, &ImageBrowserController::preferencesRequested, this,
                &AppDelegate::showPreferences);
        connect(m_browser, &ImageBrowserController::aboutRequested, this,
                &AppDelegate::showAboutBox);
        connect(m_browser, &ImageBrowserController::viewerRequested, this,
                qOverload<const QStringList&, bool, int, const QImage&, const QRect&>(
                    &AppDelegate::showFullscreen));
        created = true;
    }
    m_browser->openPath(path);
    // The first-run question, on the window once it shows.
    if (created && m_login)
        m_browser->itemActions()->askStartAtLoginIfFirstRun(*m_login);
    Q_EMIT browseRequested(path);
}

void AppDelegate::runTransferWithCamera(const std::shared_ptr<Camera>& camera) {
    if (!camera)
        return;
    // Looking for files reads the card (or asks the device camera, whose
    // answers come through this thread): on a worker, never here.
    auto* check = new QFutureWatcher<bool>(this);
    connect(check, &QFutureWatcher<bool>::finished, this, [this, check, camera] {
        check->deleteLater();
        if (!check->result()) {
            ApplicationUtils::alert(Localization::localizedString("EMPTY_CAMERA"),
                                    ApplicationUtils::AlertStyleWarning);
            quitWhenNothingIsShown();
            return;
        }
        showTransferAssistant(camera);
    });
    check->setFuture(
        QtConcurrent::run([camera] { return Transferer::cameraHasFiles(*camera, false); }));
}

void AppDelegate::showTransferAssistant(const std::shared_ptr<Camera>& camera) {
    // An earlier assistant keeps running on its own until its window closes.
    auto* assistant = new TransferAssistantController(camera);
    assistant->setAttribute(Qt::WA_DeleteOnClose);
    assistant->setBrowseHandler([this](const QString& folder) { browseImagesAtPath(folder); });
    m_transfer = assistant;
    assistant->showWindow();
    assistant->raise();
    assistant->activateWindow();
}

void AppDelegate::showFullscreen(const QStringList& paths, bool startSlideshow, int startIndex) {
    imageViewerController()->startViewer(paths, startIndex, startSlideshow);
}

void AppDelegate::showFullscreen(const QStringList& paths, bool startSlideshow, int startIndex,
                                 const QImage& startingImage, const QRect& startRect) {
    imageViewerController()->setStartingImage(startingImage, startRect);
    imageViewerController()->startViewer(paths, startIndex, startSlideshow);
}

ImageViewerController* AppDelegate::imageViewerController() {
    if (!m_viewer) {
        m_viewer = new ImageViewerController(UserDefaults::standardUserDefaults());
        connect(m_viewer, &ImageViewerController::browseRequested, this,
                [this](const QString& path) { browseImagesAtPath(path); });
    }
    return m_viewer;
}

PreferencesWindowController* AppDelegate::preferencesController() {
    if (!m_preferences) {
        m_preferences = new PreferencesWindowController(
            {new GeneralPreferencesController, new TransferPreferencesController,
             new ViewerPreferencesController},
            Localization::localizedString("Preferences"));
    }
    return m_preferences;
}

void AppDelegate::showPreferences() {
    preferencesController()->showWindow();
}

void AppDelegate::showAboutBox() {
    if (!m_about)
        m_about = new AboutBoxController;
    m_about->showWindow();
}

void AppDelegate::doStartup(const QVariantMap& userInfo) {
    const QString path = userInfo.value(QStringLiteral("pixhaul.transfer")).toString();
    if (path.isEmpty())
        return;
    auto drive = std::make_shared<CameraDrive>(path);
    if (drive->isDefined())
        runTransferWithCamera(drive);
}

void AppDelegate::cameraDeviceBecomeReady(CameraDevice* camera) {
    for (const std::shared_ptr<CameraDevice>& detected : std::as_const(m_detectedCameras)) {
        if (detected.get() == camera)
            runTransferWithCamera(detected);
    }
}

void AppDelegate::deviceAdded(const GPhotoDeviceInfo& info) {
    // Cards come in through the launcher as volumes; devices only while the
    // user has asked for automatic imports.
    if (info.isMassStorage() || !m_login || !m_login->startAtLogin())
        return;
    auto device = GPhotoDevice::create(info);
    m_deviceBrowser->watchDevice(device);
    auto camera = std::make_shared<CameraDevice>();
    camera->setDeviceDelegate(this);
    camera->openDevice(device);
    m_detectedCameras.append(camera);
}

void AppDelegate::quitWhenNothingIsShown() {
    // An alert dismissed with nothing else of ours on screen (an empty
    // camera, pictures for the viewer) ends the process; one waiting for
    // the launcher stays.
    QTimer::singleShot(0, this, [this] {
        if (m_quitsWhenIdle && !m_fromDetector && !anyWindowVisible())
            QApplication::quit();
    });
}
