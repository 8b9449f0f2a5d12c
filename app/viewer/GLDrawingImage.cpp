// SPDX-License-Identifier: GPL-3.0-or-later
#include "GLDrawingImage.h"

#include "DrawingView.h"
#include "ImageBitmapOps.h"

#include <algorithm>
#include <cmath>
#include <utility>

GLDrawingImage::GLDrawingImage(const QImage& image, const QString& path, DrawingView* view)
    : DrawingImageBase(ImageBitmapOps::maxSize(image), path, view)
    , m_image(image) {
    m_image.setDevicePixelRatio(1.0);
    m_zoomAnimTimer.setInterval(zoomAnimationIntervalMs);
    m_zoomAnimTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_zoomAnimTimer, &QTimer::timeout, &m_zoomAnimTimer,
                     [this] { incZoom(m_zoomStep); });
}

GLDrawingImage::~GLDrawingImage() = default;

QImage GLDrawingImage::takeImage() {
    return std::exchange(m_image, QImage());
}

void GLDrawingImage::setZoom(double z, bool animated) {
    if (!animated)
        stopZoomAnimation();
    if (z == m_zoom)
        return;
    if (!animated) {
        m_zoom = z;
        notifyZoomChange();
        if (view())
            view()->requestRedisplay();
        return;
    }
    m_targetZoom = z;
    m_zoomStep = (z - m_zoom) / zoomAnimationTicks;
    m_zoomAnimTimer.start();
}

void GLDrawingImage::incZoom(double step) {
    m_zoom += step;
    // Half a step of slack absorbs the rounding of the repeated additions,
    // so the animation ends on its last tick and never overshoots by one.
    const double remaining = step < 0 ? m_zoom - m_targetZoom : m_targetZoom - m_zoom;
    if (remaining <= std::abs(step) / 2) {
        m_zoom = m_targetZoom;
        stopZoomAnimation();
    }
    notifyZoomChange();
    if (view())
        view()->requestRedisplay();
}

void GLDrawingImage::notifyZoomChange() {
    if (view())
        view()->onZoomChanged();
}

void GLDrawingImage::setTranslate(const QPointF& p, double forZoom) {
    m_translate = p;
    m_zoom = forZoom;
    setZoom(forZoom, false);
}

GLDrawingImage::Placement GLDrawingImage::placeForDraw(bool inTransition) {
    const double shorterSide = std::min(imgWidth(), imgHeight());
    if (shorterSide > 0)
        m_zoom = std::max(m_zoom, 1.0 / shorterSide);
    const double w = viewWidth();
    const double h = viewHeight();
    if (w <= 0 || h <= 0 || shorterSide <= 0)
        return {QRectF(), alpha()};

    // Edges of the centred picture, and image pixels per device unit.
    const double left = -zoomedWidth() / w;
    const double bottom = -zoomedHeight() / h;
    m_scrollableX = left < -1;
    m_scrollableY = bottom < -1;
    const double sx = imgWidth() / (-2 * left);
    const double sy = imgHeight() / (-2 * bottom);

    // A transition moves the pictures past the limits on purpose.
    if (!inTransition) {
        m_translate.setX(
            m_scrollableX ? std::clamp(m_translate.x(), (left + 1) * sx, (-1 - left) * sx) : 0.0);
        m_translate.setY(m_scrollableY
                             ? std::clamp(m_translate.y(), (bottom + 1) * sy, (-1 - bottom) * sy)
                             : 0.0);
    }
    return {
        QRectF(left + m_translate.x() / sx, bottom + m_translate.y() / sy, -2 * left, -2 * bottom),
        alpha()};
}

double GLDrawingImage::translateDistance(double points) const {
    return m_zoom > 0 ? points / m_zoom : points;
}

void GLDrawingImage::stopZoomAnimation() {
    m_zoomAnimTimer.stop();
}
