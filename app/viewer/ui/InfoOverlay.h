// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

// The look of the viewer's information overlay: green text in a box of
// black at 0.7 opacity in the view's top-left corner. The text itself is
// ViewerInfoText's. Main thread (fonts).
class InfoOverlay {
public:
    InfoOverlay() = delete;

    // The system font at 12 points. Sizes here are in the views' points,
    // which are Qt's device-independent pixels, so the size is set in pixels.
    static QFont font();
    static QColor textColor();
    // The box around `text` with `margin` points on every side, at (0, 0),
    // in whole points.
    static QRectF box(const QString& text, double margin);
    // Fills `box` and draws the text `margin` points inside it.
    static void paint(QPainter& painter, const QRectF& box, const QString& text, double margin);
    // The filled box as an image at the given device pixel ratio.
    static QImage image(const QString& text, double margin, qreal devicePixelRatio);
};
