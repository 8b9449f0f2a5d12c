// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSizeF>

// What a drawing image needs of the view it is placed in: the frame size, a
// redisplay request and a notice of zoom changes. The viewer's widgets
// implement it. Main thread only.
class DrawingView {
public:
    virtual ~DrawingView() = default;

    // The view's frame size in points.
    virtual QSizeF viewFrameSize() const = 0;
    // Asks for the whole view to be drawn again at the next opportunity.
    virtual void requestRedisplay() = 0;
    // An image's zoom changed (GLDrawingImage only); a view showing the zoom
    // drops what it has cached of it.
    virtual void onZoomChanged() {}

protected:
    DrawingView() = default;
    DrawingView(const DrawingView&) = default;
    DrawingView& operator=(const DrawingView&) = default;
};
