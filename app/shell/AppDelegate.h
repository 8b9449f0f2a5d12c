// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "camera/CameraDeviceDelegate.h"

#include "StartAtLoginController.h"

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QVariantMap>

#include <memory>
#include <optional>

class AboutBoxController;
class ApplicationBusService;
class Camera;
class CameraDevice;
class DistributedNotificationCenter;
class GPhotoDeviceBrowser;
struct GPhotoDeviceInfo;
class ImageBrowserController;
class ImageViewerController;
class PreferencesWindowController;
class TransferAssistantController;

// The root of the application: decides what shows at start, answers the
// launcher's "launchWithData" requests and files handed over by the desktop,
// watches for device cameras, and owns the top-level windows (created on
// first use). Main thread only.
class AppDelegate : public QObject, public CameraDeviceDelegate {
    Q_OBJECT
public:
    // Looks for "-transfer" among the process arguments.
    explicit AppDelegate(const QStringList& arguments, QObject* parent = nullptr);
    ~AppDelegate() override;

    // Registers the defaults, listens for the launcher, starts the device
    // browser and creates the login-item controller, in that order.
    void awakeFromNib();
    void applicationDidFinishLaunching();
    // Returns whether the caller should go on with its own reopen handling.
    bool applicationShouldHandleReopen(bool hasVisibleWindows);
    void applicationWillTerminate();

    // Files, folders or cards handed over on the command line or by the
    // desktop: a card opens the assistant; a folder is browsed; pictures
    // open in the full-screen viewer.
    void openFiles(const QStringList& paths);
    bool openFile(const QString& path) const;

    void browseImages();
    void browseImagesAtPath(const QString& path);
    // Opens the transfer assistant on `camera` once a worker has found files
    // on it; an empty camera gets an alert instead.
    void runTransferWithCamera(const std::shared_ptr<Camera>& camera);
    void showFullscreen(const QStringList& paths, bool startSlideshow, int startIndex);
    // The viewer opening from `startingImage` at `startRect` on screen.
    void showFullscreen(const QStringList& paths, bool startSlideshow, int startIndex,
                        const QImage& startingImage, const QRect& startRect);
    // The viewer, created on first use and kept for later showings.
    ImageViewerController* imageViewerController();

    PreferencesWindowController* preferencesController();
    void showPreferences();
    void showAboutBox();

    // The launcher's request: user information with "pixhaul.transfer".
    void doStartup(const QVariantMap& userInfo);
    void cameraDeviceBecomeReady(CameraDevice* camera) override;

    bool launchedFromDetector() const { return m_fromDetector; }
    TransferAssistantController* transferController() const;
    ImageBrowserController* imageBrowserController() const;
    StartAtLoginController& loginController() { return *m_login; }
    // Makes this process the one that answers later starts; false when
    // another Pixhaul already runs.
    bool becomePrimaryInstance();

    // Whether the process ends when an alert leaves no window of ours on
    // screen (tests keep it running).
    void setQuitsWhenIdle(bool quits) { m_quitsWhenIdle = quits; }

    // The images of `file`'s folder, in the order the folder lists them,
    // and the position of `file` among them (0 when it is not one).
    static QStringList imagesBesideFile(const QString& file, int* index);

Q_SIGNALS:
    // The browser was asked to show `path` (empty: the folder it showed last).
    void browseRequested(const QString& path);

private:
    void deviceAdded(const GPhotoDeviceInfo& info);
    void importFromFolder(const QString& path);
    void showTransferAssistant(const std::shared_ptr<Camera>& camera);
    void quitWhenNothingIsShown();

    bool m_fromDetector = false;
    bool m_quitsWhenIdle = true;
    std::optional<QStringList> m_handedImages;
    QList<std::shared_ptr<CameraDevice>> m_detectedCameras;
    DistributedNotificationCenter* m_notifications = nullptr;
    ApplicationBusService* m_busService = nullptr;
    GPhotoDeviceBrowser* m_deviceBrowser = nullptr;
    std::unique_ptr<StartAtLoginController> m_login;
    QPointer<TransferAssistantController> m_transfer;
    QPointer<ImageBrowserController> m_browser;
    QPointer<ImageViewerController> m_viewer;
    QPointer<PreferencesWindowController> m_preferences;
    QPointer<AboutBoxController> m_about;
};
