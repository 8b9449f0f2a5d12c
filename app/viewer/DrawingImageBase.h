// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>
#include <QSizeF>
#include <QString>

#include <memory>

class DrawingView;
class Exif;

// What both kinds of drawing image share: the picture's pixel size and path,
// its zoom (view points per image pixel), its pan offset and scroll flags,
// and its offsets and opacity while the view changes from one picture to the
// next. The subclasses decide what the offset measures and how the zoom
// changes. A new image has zoom 0, offset (0, 0) and opacity 1.
//
// The view is not owned and must outlive the image (the view owns its
// images). An image without a view sees a view of size 0 x 0. Main thread
// only.
class DrawingImageBase {
public:
    virtual ~DrawingImageBase();
    DrawingImageBase(const DrawingImageBase&) = delete;
    DrawingImageBase& operator=(const DrawingImageBase&) = delete;

    DrawingView* view() const { return m_view; }
    // Empty for a picture without a file (the viewer's starting thumbnail).
    const QString& path() const { return m_path; }
    float imgWidth() const { return m_imgWidth; }
    float imgHeight() const { return m_imgHeight; }

    double zoom() const { return m_zoom; }
    double zoomedWidth() const { return m_imgWidth * m_zoom; }
    double zoomedHeight() const { return m_imgHeight * m_zoom; }
    // The largest zoom at which the whole picture fits the view; above 1
    // for a picture smaller than the view. 0 without a view or pixels.
    double fittingZoom() const;

    // The file's EXIF data, read at the first request and kept; it may hold
    // none (no path, no readable EXIF).
    Exif* exifData();

    QPointF translate() const { return m_translate; }
    // Sets the offset as it is; the subclasses correct it when they place
    // the picture.
    void setTranslate(const QPointF& p) { m_translate = p; }
    // The zoomed picture is larger than the view on that axis, so it pans.
    bool scrollableX() const { return m_scrollableX; }
    bool scrollableY() const { return m_scrollableY; }

    // Offset at the start of a running transition, and the distance it
    // moves by its end.
    QPointF transitionStartPosition() const { return m_transitionStartPosition; }
    void setTransitionStartPosition(const QPointF& p) { m_transitionStartPosition = p; }
    QPointF transitionOffset() const { return m_transitionOffset; }
    void setTransitionOffset(const QPointF& p) { m_transitionOffset = p; }
    double alpha() const { return m_alpha; }
    void setAlpha(double alpha) { m_alpha = alpha; }

    // How far a fading picture drifts, as a fraction of the view's size
    // taken directly in translate() units.
    virtual double fadeDrift() const = 0;
    // A distance of `points` on the view in translate() units.
    virtual double translateDistance(double points) const = 0;

    double viewWidth() const;
    double viewHeight() const;

protected:
    DrawingImageBase(const QSizeF& pixelSize, const QString& path, DrawingView* view);

    double m_zoom = 0.0;
    QPointF m_translate;
    bool m_scrollableX = false;
    bool m_scrollableY = false;

private:
    std::unique_ptr<Exif> m_exif;
    QString m_path;
    DrawingView* m_view = nullptr;
    float m_imgWidth = 0.0f;
    float m_imgHeight = 0.0f;
    QPointF m_transitionStartPosition;
    QPointF m_transitionOffset;
    double m_alpha = 1.0;
};
