// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageViewerController.h"

#include "GLImageView.h"
#include "settings/SettingsKeys.h"
#include "viewer/GLDrawingImage.h"
#include "viewer/GLImageLoader.h"
#include "viewer/ViewerPlaylist.h"

#include "FileUtils.h"
#include "ImageTransform.h"
#include "ImageUtils.h"
#include "Localization.h"
#include "UserDefaults.h"
#include "widgets/AlertSheet.h"
#include "widgets/EventUtils.h"
#include "widgets/ProgressBarController.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QFutureWatcher>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QVBoxLayout>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

using Localization::localizedString;

namespace {

// Directions of a change of picture.
constexpr int kNoDirection = 0;
constexpr int kBackwards = 1;
constexpr int kForwards = 2;

// The countdown is redrawn this many times per slide.
constexpr int kCountdownSteps = 36;

} // namespace

ImageViewerController::ImageViewerController(UserDefaults& settings, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint)
    , m_settings(settings) {
    setObjectName(QStringLiteral("ImageViewer"));
    setWindowTitle(localizedString("Viewer"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);

    m_imageView = new GLImageView(m_settings, this);
    m_imageView->setObjectName(QStringLiteral("imageView"));
    m_imageView->setDelegate(this);
    // Zoomed past a RAW preview's own pixels, by whatever means: the
    // demosaiced picture is read.
    connect(m_imageView, &GLImageView::zoomChanged, this, [this] {
        const std::shared_ptr<GLDrawingImage> shown = m_imageView->currentImage();
        if (shown && shown->zoom() > 1.0)
            loadFullDetail();
    });
    m_imageView->setInfoLevel(int(m_settings.integerForKey(SettingsKeys::viewer_info_level)));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_imageView);

    m_playlist = std::make_unique<ViewerPlaylist>(
        [this](const QString& path) { return std::make_unique<GLImageLoader>(path, m_imageView); });
    connect(m_playlist.get(), &ViewerPlaylist::currentReady, this,
            &ImageViewerController::currentImageReady);
    // A file that cannot be read after a turn leaves the wait sheet nothing
    // to wait for.
    connect(m_playlist.get(), &ViewerPlaylist::currentFailed, this,
            &ImageViewerController::closeWaitPanel);

    m_slideshowTimer.setSingleShot(true);
    connect(&m_slideshowTimer, &QTimer::timeout, this, &ImageViewerController::nextSlideshow);
    connect(&m_displayDurationTimer, &QTimer::timeout, this,
            &ImageViewerController::updateDisplayDuration);
    buildContextMenu();
}

ImageViewerController::~ImageViewerController() = default;

void ImageViewerController::buildContextMenu() {
    m_contextMenu = new QMenu(this);
    const auto add = [this](const char* key, auto slot) {
        return m_contextMenu->addAction(localizedString(key), this, slot);
    };
    m_slideshowAction = add("Start Slideshow", [this] {
        if (m_slideshowRunning)
            stopSlideshow();
        else
            startSlideshow();
    });
    m_contextMenu->addSeparator();
    add("Zoom In", &ImageViewerController::zoomIn);
    add("Zoom Out", &ImageViewerController::zoomOut);
    add("Zoom to Fit", &ImageViewerController::zoomFit);
    add("Actual Size", &ImageViewerController::zoomOne);
    m_zoomLockAction = add("Lock Zoom", &ImageViewerController::toggleZoomLock);
    m_zoomLockAction->setCheckable(true);
    m_contextMenu->addSeparator();
    add("Rotate Right", [this] { transformCurrentImage(ImageTransformRotate90CW); });
    add("Rotate Left", [this] { transformCurrentImage(ImageTransformRotate90CCW); });
    add("Rotate 180", [this] { transformCurrentImage(ImageTransformRotate180); });
    add("Flip Horizontal", [this] { transformCurrentImage(ImageTransformFlipHorizontal); });
    add("Flip Vertical", [this] { transformCurrentImage(ImageTransformFlipVertical); });
    add("Auto Rotate", &ImageViewerController::autoTransform);
    m_contextMenu->addSeparator();
    add("Show Information", &ImageViewerController::cycleInfoDisplay);
    add("Move to Trash", &ImageViewerController::deleteImage);
    m_contextMenu->addSeparator();
    add("Close Viewer", &QWidget::close);
    connect(m_contextMenu, &QMenu::aboutToHide, this,
            [this] { m_imageView->pointer().scheduleHideCursorTimer(); });
}

void ImageViewerController::setStartingImage(const QImage& image, const QRect& screenRect) {
    // The viewer opens on the screen the thumbnail is on.
    if (QScreen* screen = QGuiApplication::screenAt(screenRect.center()))
        setScreen(screen);
    m_startingImage = image;
    m_isShowingStartImage = !image.isNull();
}

void ImageViewerController::startViewer(const QStringList& paths, int index, bool startSlideshow) {
    if (paths.isEmpty() || index < 0 || index >= paths.size())
        return;
    m_startSlideshow = startSlideshow;
    m_previousWindow = QApplication::activeWindow();
    if (!m_startingImage.isNull()) {
        m_imageView->setImage(
            std::make_shared<GLDrawingImage>(m_startingImage, QString(), m_imageView));
        m_startingImage = QImage();
    }
    enterFullscreen();
    m_zoomLock = false;
    m_zoomLockAction->setChecked(false);
    m_playlist->start(paths, index);
    displayWhenReady(kNoDirection);
}

QString ImageViewerController::currentPath() const {
    GLImageLoader* loader = m_playlist->currentLoader();
    return loader ? loader->path() : QString();
}

void ImageViewerController::displayWhenReady(int direction) {
    GLImageLoader* loader = m_playlist->currentLoader();
    if (loader && loader->status() == ImageLoader::StatusReady)
        displayCurrentImage(direction);
}

void ImageViewerController::currentImageReady() {
    displayCurrentImage(kNoDirection);
    closeWaitPanel();
    if (m_startSlideshow) {
        m_startSlideshow = false;
        startSlideshow();
    }
}

void ImageViewerController::displayCurrentImage(int direction) {
    GLImageLoader* loader = m_playlist->currentLoader();
    const std::shared_ptr<GLDrawingImage> image = loader ? loader->glImage() : nullptr;
    // A file that read but did not decode leaves the previous picture.
    if (!image)
        return;
    TransitionKind kind = TransitionKind::None;
    if (m_slideshowRunning) {
        if (m_settings.boolForKey(SettingsKeys::slideshow_transition))
            kind = TransitionKind::Fade;
    } else if (direction != kNoDirection &&
               m_settings.boolForKey(SettingsKeys::viewer_transition)) {
        kind =
            direction == kForwards ? TransitionKind::SlideFromRight : TransitionKind::SlideFromLeft;
    }
    // The raw data replacing its preview keeps the size on screen.
    const std::shared_ptr<GLDrawingImage> preview = m_previewShown.lock();
    m_previewShown.reset();
    if (preview && preview != image && preview->path() == image->path() && image->imgWidth() > 0) {
        const double zoom = preview->zoomedWidth() / image->imgWidth();
        m_imageView->setImage(image, TransitionKind::None, false);
        m_imageView->setZoom(zoom, false);
        return;
    }
    const bool zoomReset = m_isShowingStartImage || m_slideshowRunning || !m_zoomLock;
    m_imageView->setImage(image, kind, zoomReset);
    m_isShowingStartImage = false;
}

void ImageViewerController::nextImage() {
    m_playlist->nextImage();
    displayWhenReady(kForwards);
}

void ImageViewerController::prevImage() {
    m_playlist->prevImage();
    displayWhenReady(kBackwards);
}

void ImageViewerController::firstImage() {
    m_playlist->firstImage();
    displayWhenReady(kBackwards);
}

void ImageViewerController::lastImage() {
    m_playlist->lastImage();
    displayWhenReady(kForwards);
}

void ImageViewerController::reloadCurrentImage() {
    m_playlist->reloadCurrent();
}

void ImageViewerController::imageUpdateCompleted() {
    if (!m_slideshowRunning)
        return;
    m_slideshowTimer.stop();
    stopUpdateDisplayDuration();
    showDisplayDuration();
    m_slideshowTimer.start(int(slideshowDelay() * 1000));
}

void ImageViewerController::imageViewDoubleClicked() {
    closeAndBrowse();
}

void ImageViewerController::closeAndBrowse() {
    // The browser shows first, so closing the viewer never leaves the
    // application without a window.
    const QString path = currentPath();
    if (!path.isEmpty())
        Q_EMIT browseRequested(path);
    close();
}

void ImageViewerController::zoomIn() {
    m_imageView->zoomIn();
    loadFullDetail();
}
void ImageViewerController::zoomOut() {
    m_imageView->zoomOut();
}
void ImageViewerController::zoomFit() {
    m_imageView->zoomFit(true);
}
void ImageViewerController::zoomOne() {
    m_imageView->setZoom(1.0, true);
    loadFullDetail();
}

void ImageViewerController::loadFullDetail() {
    GLImageLoader* loader = m_playlist->currentLoader();
    if (!loader || !loader->hasMoreDetail() || !loader->glImage())
        return;
    m_previewShown = loader->glImage();
    loader->loadFullDetail();
}

void ImageViewerController::toggleZoomLock() {
    m_zoomLock = !m_zoomLock;
    m_zoomLockAction->setChecked(m_zoomLock);
}

double ImageViewerController::slideshowDelay() const {
    // Whole seconds, at least one, so the slideshow never spins.
    return double(std::max<qint64>(1, m_settings.integerForKey(SettingsKeys::slideshow_delay)));
}

void ImageViewerController::startSlideshow() {
    stopSlideshow();
    m_imageView->zoomFit(false);
    m_slideshowRunning = true;
    m_slideshowTimer.start(int(slideshowDelay() * 1000));
    showDisplayDuration();
}

void ImageViewerController::nextSlideshow() {
    // The slideshow keeps running while the next picture loads and fades in.
    m_slideshowTimer.stop();
    stopUpdateDisplayDuration();
    nextImage();
}

void ImageViewerController::stopSlideshow() {
    if (!m_slideshowRunning)
        return;
    stopUpdateDisplayDuration();
    m_slideshowTimer.stop();
    m_slideshowRunning = false;
}

void ImageViewerController::showDisplayDuration() {
    m_displayStart.start();
    m_imageView->setDisplayDurationRemaining(1.0);
    m_displayDurationTimer.start(int(slideshowDelay() * 1000 / kCountdownSteps));
}

void ImageViewerController::updateDisplayDuration() {
    const float elapsed = float(m_displayStart.elapsed()) / 1000.0f / float(slideshowDelay());
    if (elapsed >= 0.999f)
        stopUpdateDisplayDuration();
    else
        m_imageView->setDisplayDurationRemaining(1.0 - double(elapsed));
}

void ImageViewerController::stopUpdateDisplayDuration() {
    m_displayDurationTimer.stop();
    m_imageView->setDisplayDurationRemaining(0.0);
}

void ImageViewerController::toggleInfoDisplay() {
    setInfoDisplayLevel(m_imageView->infoLevel() == 0 ? 3 : 0);
}

void ImageViewerController::cycleInfoDisplay() {
    setInfoDisplayLevel((m_imageView->infoLevel() + 1) % 4);
}

void ImageViewerController::setInfoDisplayLevel(int level) {
    m_imageView->setInfoLevel(level);
    m_imageView->update();
    m_settings.setInteger(level, QLatin1String(SettingsKeys::viewer_info_level));
}

void ImageViewerController::autoTransform() {
    processCurrentImage(
        [](const QString& path) { return ImageUtils::autoLosslessRotateImage(path); });
}

void ImageViewerController::transformCurrentImage(int transform) {
    // Read on this thread: the settings store is not shared with workers.
    const double compression = m_settings.doubleForKey(SettingsKeys::jpeg_compression);
    processCurrentImage([transform, compression](const QString& path) {
        return ImageUtils::transformImage(path, transform, compression);
    });
}

void ImageViewerController::processCurrentImage(std::function<bool(const QString&)> task) {
    const QString path = currentPath();
    if (path.isEmpty() || m_waitPanel)
        return;
    m_waitPanel = ProgressBarController::progressBarIndeterinateForWindow(this, false);
    m_waitPanel->setStatusText(localizedString("VIEWER_TRANSFORMING"));
    m_waitPanel->beginSheet();
    auto* watcher = new QFutureWatcher<bool>(this);
    connect(watcher, &QFutureWatcher<bool>::finished, this, [this, watcher] {
        watcher->deleteLater();
        // The new content replaces the old picture once it has loaded.
        if (watcher->result())
            reloadCurrentImage();
        else
            closeWaitPanel();
    });
    watcher->setFuture(QtConcurrent::run([task = std::move(task), path] { return task(path); }));
}

void ImageViewerController::closeWaitPanel() {
    if (!m_waitPanel)
        return;
    m_waitPanel->finish();
    m_waitPanel.reset();
}

void ImageViewerController::deleteImage() {
    const QString path = currentPath();
    if (path.isEmpty())
        return;
    m_imageView->pointer().showCursor();
    ESSBeginAlertSheet(
        localizedString("CONFIRM_DELETE_IMAGE"), localizedString("OK"), QString(),
        localizedString("Cancel"), this,
        [this, path](void*, int returnCode) {
            m_imageView->pointer().hideCursor();
            if (returnCode != AlertDefaultReturn)
                return;
            FileUtils::moveItemToTrash(path);
            // The last picture gone leaves nothing to show.
            if (!m_playlist->removeCurrent()) {
                close();
                return;
            }
            displayWhenReady(kForwards);
        },
        [this](void*) { m_imageView->pointer().hideCursor(); }, nullptr,
        localizedString("MOVED_TO_TRASH"));
}

void ImageViewerController::enterFullscreen() {
    m_imageView->zoomFit(false);
    // The screen's whole area first: without a window manager to honour the
    // full-screen state the window still covers the screen.
    setGeometry(screen()->geometry());
    // A RAW file's embedded preview serves when it fills this screen.
    const QSize pixels = screen()->geometry().size() * screen()->devicePixelRatio();
    ImageLoader::setScreenSide(std::max(pixels.width(), pixels.height()));
    showFullScreen();
    m_imageView->setup();
    raise();
    activateWindow();
    setFocus(Qt::OtherFocusReason);
}

void ImageViewerController::exitFullScreen() {
    m_imageView->cleanup();
    hide();
    if (m_previousWindow) {
        m_previousWindow->raise();
        m_previousWindow->activateWindow();
    }
}

void ImageViewerController::closeEvent(QCloseEvent* event) {
    stopSlideshow();
    closeWaitPanel();
    exitFullScreen();
    event->accept();
}

void ImageViewerController::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    // Option (Alt) or Control (Meta) rows first, then Command (Ctrl), then
    // the rows without modifiers.
    if (EventUtils::alternateKeyPressed(event) || EventUtils::controlKeyPressed(event)) {
        if (key == Qt::Key_Up || key == Qt::Key_Left)
            return firstImage();
        if (key == Qt::Key_Down || key == Qt::Key_Right)
            return lastImage();
        return QWidget::keyPressEvent(event);
    }
    if (EventUtils::commandKeyPressed(event)) {
        switch (key) {
        case Qt::Key_Right:
            return transformCurrentImage(ImageTransformRotate90CW);
        case Qt::Key_Left:
            return transformCurrentImage(ImageTransformRotate90CCW);
        case Qt::Key_Down:
            return transformCurrentImage(ImageTransformRotate180);
        case Qt::Key_Backspace:
        case Qt::Key_Delete:
            return deleteImage();
        case Qt::Key_I:
            return cycleInfoDisplay();
        case Qt::Key_L:
            return toggleZoomLock();
        case Qt::Key_Q:
            return QApplication::quit();
        case Qt::Key_S:
            return m_slideshowRunning ? stopSlideshow() : startSlideshow();
        case Qt::Key_T:
            return autoTransform();
        case Qt::Key_W:
            close();
            return;
        default:
            return QWidget::keyPressEvent(event);
        }
    }
    // Shift alone still counts as no modifier: "+" and ":" need it.
    if (event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier))
        return QWidget::keyPressEvent(event);
    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Left:
    case Qt::Key_BracketLeft:
        return prevImage();
    case Qt::Key_Down:
    case Qt::Key_Right:
    case Qt::Key_BracketRight:
    case Qt::Key_Space:
        return nextImage();
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return closeAndBrowse();
    case Qt::Key_Escape:
    case Qt::Key_Q:
        close();
        return;
    case Qt::Key_I:
        return cycleInfoDisplay();
    case Qt::Key_A:
        return toggleInfoDisplay();
    case Qt::Key_Plus:
        return zoomIn();
    case Qt::Key_Minus:
        return zoomOut();
    case Qt::Key_Equal:
        return zoomFit();
    case Qt::Key_Period:
    case Qt::Key_Slash:
    case Qt::Key_0:
    case Qt::Key_1:
    case Qt::Key_Colon:
        return zoomOne();
    default:
        return QWidget::keyPressEvent(event);
    }
}

void ImageViewerController::contextMenuEvent(QContextMenuEvent* event) {
    m_slideshowAction->setText(
        localizedString(m_slideshowRunning ? "Stop Slideshow" : "Start Slideshow"));
    m_imageView->pointer().showCursor();
    m_contextMenu->popup(event->globalPos());
}
