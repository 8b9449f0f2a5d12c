// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DrawingImageBase.h"

#include <QImage>
#include <QRectF>
#include <QTimer>

// A picture drawn by the OpenGL viewer view as one texture. Its offset is
// the distance of the picture's centre from the view's centre in image
// pixels, x to the right and y upwards; it is corrected at every draw
// (placeForDraw), not when set. Zoom changes may be animated.
//
// The view makes the texture from image() at the first draw (or the start
// of a transition) and then calls releaseImage() or takeImage(), so the
// decoded pixels are held only once. Main thread only; the zoom animation's
// timer runs on the main event loop.
class GLDrawingImage : public DrawingImageBase {
public:
    // Where to draw the texture, in normalised device coordinates: -1 at
    // the left and bottom edges of the view, +1 at the right and top.
    struct Placement {
        QRectF rect; // origin at the lower-left corner
        double alpha = 1.0;
    };

    static constexpr int zoomAnimationTicks = 20;
    static constexpr int zoomAnimationIntervalMs = 5;

    // The pixel size is the decoded image's largest size; its drawing size
    // becomes that size.
    GLDrawingImage(const QImage& image, const QString& path, DrawingView* view);
    ~GLDrawingImage() override;

    // Null once the view has taken or released it for its texture.
    const QImage& image() const { return m_image; }
    bool hasImage() const { return !m_image.isNull(); }
    QImage takeImage();
    void releaseImage() { m_image = QImage(); }

    // An unanimated change is immediate (and stops a running animation); an
    // animated one reaches z in zoomAnimationTicks steps, starting from the
    // zoom reached so far. A request for the current zoom does nothing.
    void setZoom(double z, bool animated);
    // One animation tick, called by the timer every zoomAnimationIntervalMs.
    void incZoom(double step);
    bool isZoomAnimating() const { return m_zoomAnimTimer.isActive(); }
    double targetZoom() const { return m_targetZoom; }
    // Tells the view that the zoom changed.
    void notifyZoomChange();
    // Animated steps by a factor of 1.1; no fixed ladder and no upper limit.
    void zoomIn() { setZoom(m_zoom * 1.1, true); }
    void zoomOut() { setZoom(m_zoom / 1.1, true); }
    void zoomFit(bool animated) { setZoom(fittingZoom(), animated); }

    using DrawingImageBase::setTranslate;
    // Takes over another picture's offset and zoom as they are; the next
    // draw corrects the offset.
    void setTranslate(const QPointF& p, double forZoom);

    // Places the picture for a draw: the zoom is raised so the shorter side
    // is at least one point, the scroll flags follow the zoomed size, and
    // outside a transition the offset is limited so the picture covers a
    // scrollable axis and is centred on any other. An empty rectangle when
    // the view or the picture has no size.
    Placement placeForDraw(bool inTransition);

    // The fade drift is taken as image pixels, not divided by the zoom.
    double fadeDrift() const override { return 0.1; }
    double translateDistance(double points) const override;

private:
    void stopZoomAnimation();

    QImage m_image;
    double m_targetZoom = 0.0;
    double m_zoomStep = 0.0;
    QTimer m_zoomAnimTimer;
};
