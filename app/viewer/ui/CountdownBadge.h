// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRectF>

class QPainter;

// The slideshow's countdown badge: a dark rounded square with a white ring
// and a pie that shrinks as the time left for the slide runs out. Any
// thread (paints into the given painter or a new image).
class CountdownBadge {
public:
    CountdownBadge() = delete;

    // Side of the square, and its distance from the view's lower-left
    // corner, in points.
    static constexpr double side = 24.0;
    static constexpr double margin = 2.0;

    // Fractions within 0.001 of 0 show no badge.
    static bool isShown(double fraction);
    // Paints the badge for `fraction` (0 to 1) of the time left into
    // `square`; nothing when it is not shown.
    static void paint(QPainter& painter, const QRectF& square, double fraction);
    // The badge on a transparent square of `side` points, premultiplied,
    // at the given device pixel ratio.
    static QImage image(double fraction, qreal devicePixelRatio);
};
