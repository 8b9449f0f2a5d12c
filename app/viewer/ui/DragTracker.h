// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPointF>

// The pointer positions of a drag on a viewer view: where the button went
// down and where the last handled move ended. Positions are the widget's
// (y downwards); the movements it returns point upwards, as the views'
// picture geometry does. Main thread.
class DragTracker {
public:
    void press(const QPointF& position);
    // The last handled position becomes `position`.
    void moveTo(const QPointF& position) { m_last = position; }

    // Movement from the last handled position, y upwards.
    QPointF delta(const QPointF& position) const;
    // With Shift a drag keeps to one axis: the one the pointer moved further
    // along since the press, in whole points (vertical on a tie). The other
    // component of `delta` becomes 0.
    QPointF keepDominantAxis(const QPointF& delta, const QPointF& position) const;
    // The pointer left the platform's drag distance around the press, so the
    // gesture is a drag and no longer part of a click.
    bool leftClickDistance(const QPointF& position) const;

private:
    QPointF m_initial;
    QPointF m_last;
};
