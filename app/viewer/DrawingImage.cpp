// SPDX-License-Identifier: GPL-3.0-or-later
#include "DrawingImage.h"

#include "DrawingView.h"

#include <algorithm>
#include <cmath>

namespace {

// The offset after a zoom change keeping the view's centre on the same
// picture point. A picture never zoomed before has no such point and is
// centred instead.
double reCentered(double offset, double extent, double zoomedSize, double zoom, double oldZoom) {
    if (oldZoom <= 0)
        return std::round((extent - zoomedSize) / 2);
    const double c = extent / 2;
    return std::round(c - (c - offset) * (zoom / oldZoom));
}

// No background shows on either side of a picture larger than the view.
double clamped(double offset, double extent, double zoomedSize) {
    offset = std::min(offset, 0.0);
    if (offset <= extent - zoomedSize)
        offset = extent - zoomedSize;
    return std::round(offset);
}

} // namespace

DrawingImage::DrawingImage(const QImage& image, const QString& path, DrawingView* view)
    : DrawingImageBase(QSizeF(image.size()), path, view)
    , m_image(image) {
    m_image.setDevicePixelRatio(1.0);
}

void DrawingImage::setZoom(double z) {
    if (!(z > 0))
        return;
    const double oldZoom = m_zoom;
    m_zoom = std::min(z, maxZoom);

    // Whole points: the margins are truncated, so an axis pans only when the
    // picture exceeds the view by a full point.
    const auto marginX = static_cast<qint64>(viewWidth() - zoomedWidth());
    m_scrollableX = marginX < 0;
    if (m_scrollableX) {
        reCenterX(oldZoom);
        clampX();
    } else {
        m_translate.setX(static_cast<double>(marginX / 2));
    }
    const auto marginY = static_cast<qint64>(viewHeight() - zoomedHeight());
    m_scrollableY = marginY < 0;
    if (m_scrollableY) {
        reCenterY(oldZoom);
        clampY();
    } else {
        m_translate.setY(static_cast<double>(marginY / 2));
    }
    if (view())
        view()->requestRedisplay();
}

void DrawingImage::zoomIn() {
    const double z = m_zoom;
    if (z < 1.0)
        setZoom(z * 1.1);
    else if (z == 1.0)
        setZoom(1.5);
    else if (z == 1.5)
        setZoom(2.0);
    else if (z >= 100)
        setZoom(z + 10);
    else if (z >= 30)
        setZoom(z + 5);
    else if (z >= 10)
        setZoom(z + 2);
    else
        setZoom(z + 1);
}

void DrawingImage::zoomOut() {
    const double z = m_zoom;
    if (z <= 1.0)
        setZoom(z / 1.1);
    else if (z == 2.0)
        setZoom(1.5);
    else if (z == 1.5)
        setZoom(1.0);
    else if (z >= 110)
        setZoom(z - 10);
    else if (z >= 35)
        setZoom(z - 5);
    else if (z >= 12)
        setZoom(z - 2);
    else
        setZoom(z - 1);
}

void DrawingImage::setTranslate(const QPointF& p, double forZoom) {
    // With the old zoom equal to the new one the re-centring keeps p, so
    // only the clamping or centring for this view size remains.
    m_translate = p;
    m_zoom = forZoom;
    setZoom(forZoom);
}

void DrawingImage::clampX() {
    if (m_scrollableX)
        m_translate.setX(clamped(m_translate.x(), viewWidth(), zoomedWidth()));
}

void DrawingImage::clampY() {
    if (m_scrollableY)
        m_translate.setY(clamped(m_translate.y(), viewHeight(), zoomedHeight()));
}

void DrawingImage::reCenterX(double oldZoom) {
    m_translate.setX(reCentered(m_translate.x(), viewWidth(), zoomedWidth(), m_zoom, oldZoom));
}

void DrawingImage::reCenterY(double oldZoom) {
    m_translate.setY(reCentered(m_translate.y(), viewHeight(), zoomedHeight(), m_zoom, oldZoom));
}

QPointF DrawingImage::viewPointToImagePoint(const QPointF& p) const {
    return QPointF(screenToImageX(p.x(), m_zoom), screenToImageY(p.y(), m_zoom));
}

QRectF DrawingImage::viewRectToImageRect(const QRectF& r) const {
    const QPointF lowerLeft = viewPointToImagePoint(r.topLeft());
    const QPointF upperRight = viewPointToImagePoint(r.bottomRight());
    // QRectF's "top" is its origin, here the lower edge.
    return QRectF(lowerLeft, upperRight);
}
