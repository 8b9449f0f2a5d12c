// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "viewer/ImageViewDelegate.h"

#include <QElapsedTimer>
#include <QImage>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class GLDrawingImage;
class GLImageView;
class ProgressBarController;
class QAction;
class QMenu;
class UserDefaults;
class ViewerPlaylist;

// The full-screen viewer (window "ImageViewer"): shows a list of pictures
// one at a time on the whole screen, steps through them with the three
// loaders of its playlist, runs the slideshow and its countdown, maps keys
// and the context menu to commands, turns the current file losslessly on a
// worker behind a wait sheet, and moves it to the Trash. The drawing and the
// pointer handling are the view's. Main thread only.
class ImageViewerController : public QWidget, public ImageViewDelegate {
    Q_OBJECT
public:
    explicit ImageViewerController(UserDefaults& settings, QWidget* parent = nullptr);
    ~ImageViewerController() override;

    // The thumbnail shown until the first picture has loaded, and where it
    // sat on screen (the screen it is on is the one the viewer takes).
    void setStartingImage(const QImage& image, const QRect& screenRect);
    // Shows `paths` from `index`; an empty list or an index outside it
    // opens nothing.
    void startViewer(const QStringList& paths, int index, bool startSlideshow);

    GLImageView* imageView() const { return m_imageView; }
    ViewerPlaylist& playlist() const { return *m_playlist; }
    bool isSlideshowRunning() const { return m_slideshowRunning; }
    bool zoomLock() const { return m_zoomLock; }

    // ImageViewDelegate
    void imageUpdateCompleted() override;
    void imageViewDoubleClicked() override;
    void nextImage() override;
    void prevImage() override;

    void firstImage();
    void lastImage();
    void reloadCurrentImage();

    void zoomIn();
    void zoomOut();
    void zoomFit();
    void zoomOne();
    void toggleZoomLock();
    void startSlideshow();
    void nextSlideshow();
    void stopSlideshow();
    void toggleInfoDisplay();
    void cycleInfoDisplay();
    void setInfoDisplayLevel(int level);
    void autoTransform();
    // One of the ImageTransform codes, applied losslessly to the file.
    void transformCurrentImage(int transform);
    void deleteImage();

Q_SIGNALS:
    // The user left the viewer asking for the browser on `path`.
    void browseRequested(const QString& path);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildContextMenu();
    void currentImageReady();
    // 0 first display or reload, 1 backwards, 2 forwards.
    void displayCurrentImage(int direction);
    // Shows the new current picture now if it has loaded; otherwise it
    // shows, without a slide, when it has.
    void displayWhenReady(int direction);
    void closeAndBrowse();
    void enterFullscreen();
    void exitFullScreen();
    void showDisplayDuration();
    void updateDisplayDuration();
    void stopUpdateDisplayDuration();
    double slideshowDelay() const;
    void processCurrentImage(std::function<bool(const QString&)> task);
    void closeWaitPanel();
    QString currentPath() const;
    // Zoomed in on a RAW file's preview smaller than its raw data: reads the
    // raw data, shown at the same size on screen when it arrives.
    void loadFullDetail();

    UserDefaults& m_settings;
    GLImageView* m_imageView = nullptr;
    QMenu* m_contextMenu = nullptr;
    QAction* m_slideshowAction = nullptr;
    QAction* m_zoomLockAction = nullptr;
    std::unique_ptr<ProgressBarController> m_waitPanel;
    std::unique_ptr<ViewerPlaylist> m_playlist;
    QImage m_startingImage;
    std::weak_ptr<GLDrawingImage> m_previewShown;
    QPointer<QWidget> m_previousWindow;
    bool m_zoomLock = false;
    bool m_isShowingStartImage = false;
    bool m_startSlideshow = false;
    bool m_slideshowRunning = false;
    QTimer m_slideshowTimer;
    QTimer m_displayDurationTimer;
    QElapsedTimer m_displayStart;
};
