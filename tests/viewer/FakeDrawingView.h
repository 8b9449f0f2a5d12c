// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "viewer/DrawingView.h"

#include <QImage>

// A view of a chosen size that counts what the images ask of it.
class FakeDrawingView : public DrawingView {
public:
    explicit FakeDrawingView(QSizeF size)
        : m_size(size) {}

    QSizeF viewFrameSize() const override { return m_size; }
    void requestRedisplay() override { ++redisplays; }
    void onZoomChanged() override { ++zoomChanges; }

    int redisplays = 0;
    int zoomChanges = 0;

private:
    QSizeF m_size;
};

// Only the pixel size matters to the geometry; one bit per pixel keeps
// camera-sized pictures small.
inline QImage blankImage(int width, int height) {
    return QImage(width, height, QImage::Format_Mono);
}
