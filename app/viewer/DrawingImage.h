// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DrawingImageBase.h"

#include <QImage>
#include <QRectF>

// A picture placed in the two-dimensional viewer view. Its offset is the
// view position of the picture's lower-left corner, kept on whole points so
// that a pan can move pixels already drawn and redraw only the uncovered
// strips. Zoom changes are immediate.
//
// Coordinates grow to the right and upwards from the view's lower-left
// corner, and image coordinates upwards from the picture's bottom row; the
// Qt view flips y when it draws. Main thread only.
class DrawingImage : public DrawingImageBase {
public:
    static constexpr double maxZoom = 200.0;

    // The picture's drawing size becomes its pixel size.
    DrawingImage(const QImage& image, const QString& path, DrawingView* view);

    const QImage& image() const { return m_image; }

    // Sets the zoom (at most maxZoom; zero and below are ignored), then per
    // axis: a picture larger than the view by a point or more keeps the
    // point under the view's centre and is clamped to cover the view; a
    // smaller one is centred, the odd point going to the right (top)
    // margin. Asks the view to redisplay.
    void setZoom(double z);
    // One step along 1, 1.5, 2, 3 ... 10, 12 ... 30, 35 ... 100, 110 ...;
    // by a factor of 1.1 below 1.
    void zoomIn();
    void zoomOut();
    void zoomFit() { setZoom(fittingZoom()); }

    using DrawingImageBase::setTranslate;
    // Takes over another picture's offset and zoom, then corrects the
    // offset for this picture and the current view size.
    void setTranslate(const QPointF& p, double forZoom);

    // Keeps a scrollable axis covering the whole view; no effect otherwise.
    void clampX();
    void clampY();
    // Moves the offset so that the view point under the centre stays there
    // after a change from `oldZoom` to the current zoom.
    void reCenterX(double oldZoom);
    void reCenterY(double oldZoom);

    double screenToImageX(double x, double z) const { return (x - m_translate.x()) / z; }
    double screenToImageY(double y, double z) const { return (y - m_translate.y()) / z; }
    QPointF viewPointToImagePoint(const QPointF& p) const;
    // The part of the picture, in image pixels, that falls into a view
    // rectangle whose origin is its lower-left corner.
    QRectF viewRectToImageRect(const QRectF& r) const;

    double fadeDrift() const override { return 0.03; }
    double translateDistance(double points) const override { return points; }

private:
    QImage m_image;
};
