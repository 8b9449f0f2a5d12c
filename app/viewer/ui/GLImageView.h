// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ImageSwitcher.h"
#include "SwipeTracker.h"
#include "ViewerPointer.h"

#include "viewer/DrawingView.h"
#include "viewer/GLDrawingImage.h"
#include "viewer/TransitionKind.h"

#include <QOpenGLFunctions>
#include <QOpenGLWidget>

#include <memory>

class GLTexture;
class GLTextureCache;
class GLTextureShader;
class ImageViewDelegate;
class QTouchEvent;
class UserDefaults;

// The full-screen viewer's view: draws GLDrawingImages through OpenGL, one
// texture per picture, on the viewer's background colour; animates the
// change to a new picture; draws the information overlay (a texture made
// once per change of its text) and the slideshow's countdown badge; hides
// the pointer while the user only looks; pans on drags and the scroll
// wheel, zooms on pinches, steps on two-finger swipes, and reports double
// clicks. Keys and context-menu requests are left to the parent window (the
// viewer controller).
//
// The pictures are shared with the controller's loaders; each keeps its
// texture for as long as it lives, so a picture shown again is not uploaded
// again. Main thread only; timers run on the main event loop.
class GLImageView : public QOpenGLWidget,
                    protected QOpenGLFunctions,
                    public DrawingView,
                    private ViewerPointerView {
    Q_OBJECT
public:
    // `settings` (the background colour) must outlive the view.
    explicit GLImageView(const UserDefaults& settings, QWidget* parent = nullptr);
    ~GLImageView() override;

    void setDelegate(ImageViewDelegate* delegate) { m_delegate = delegate; }
    ImageViewDelegate* delegate() const override { return m_delegate; }

    // Overlay level 0 (none) to 3.
    int infoLevel() const { return m_infoLevel; }
    void setInfoLevel(int level);

    // Without transition, zoom reset.
    void setImage(std::shared_ptr<GLDrawingImage> image);
    // A transition is shown only when the current picture is at its fitting
    // zoom; without `zoomReset` a directly replaced picture takes over the
    // old one's zoom and position.
    void setImage(std::shared_ptr<GLDrawingImage> image, TransitionKind kind, bool zoomReset);
    std::shared_ptr<GLDrawingImage> currentImage() const { return m_switcher.currentImage(); }
    bool isInTransition() const override { return m_switcher.isInTransition(); }

    // The current picture's zoom commands; ignored during a transition.
    void zoomIn();
    void zoomOut();
    void zoomFit(bool animated);
    void setZoom(double zoom, bool animated);

    // The viewer takes the screen: the pointer is hidden.
    void setup();
    // The viewer leaves the screen: timers stopped, pictures dropped, pointer
    // shown.
    void cleanup();

    ViewerPointer& pointer() { return m_pointer; }
    const ViewerPointer& pointer() const { return m_pointer; }

    // The slideshow's time left for the current slide, 0 to 1; 0 hides the
    // countdown badge.
    void setDisplayDurationRemaining(double fraction);
    double displayDurationRemaining() const { return m_displayDurationRemaining; }

    // Drops the overlay texture; the next drawing that shows the overlay
    // makes it again.
    void invalidateInfoTexture() { m_infoTextureStale = true; }

    // DrawingView
    QSizeF viewFrameSize() const override { return QSizeF(size()); }
    void requestRedisplay() override { update(); }
    void onZoomChanged() override {
        invalidateInfoTexture();
        Q_EMIT zoomChanged();
    }

Q_SIGNALS:
    // Any change of the current picture's zoom: keys, wheel, pinch, menu.
    void zoomChanged();

protected:
    void initializeGL() override;
    void paintGL() override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void releaseGL();
    void buildTransitionTextures();
    void drawImage(const std::shared_ptr<GLDrawingImage>& image, bool inTransition);
    void drawInfo(GLDrawingImage& image);
    void drawSlideshowDurationRemaining();
    // A rectangle in points from the view's lower-left corner, in normalised
    // device coordinates.
    QRectF deviceRect(const QRectF& points) const;
    // ViewerPointerView
    void drag(const QMouseEvent& event) override;
    void magnify(double magnification);
    void touchpadEvent(QTouchEvent* event);
    void step(SwipeTracker::Step step);
    void notifyImageUpdateCompleted();

    const UserDefaults& m_settings;
    ImageViewDelegate* m_delegate = nullptr;
    int m_infoLevel = 0;
    double m_displayDurationRemaining = 0.0;

    std::unique_ptr<GLTextureShader> m_shader;
    std::unique_ptr<GLTextureCache> m_textures;
    std::unique_ptr<GLTexture> m_infoTexture;
    qreal m_infoTextureRatio = 1.0;
    bool m_infoTextureStale = false;
    int m_maxTextureSize = 0;
    QMetaObject::Connection m_contextConnection;

    ViewerPointer m_pointer;
    SwipeTracker m_swipe;
    ImageSwitcher<GLDrawingImage> m_switcher;
};
