// SPDX-License-Identifier: GPL-3.0-or-later
#include "DragTracker.h"

#include <QGuiApplication>
#include <QStyleHints>

#include <cstdlib>

void DragTracker::press(const QPointF& position) {
    m_initial = position;
    m_last = position;
}

QPointF DragTracker::delta(const QPointF& position) const {
    return QPointF(position.x() - m_last.x(), m_last.y() - position.y());
}

QPointF DragTracker::keepDominantAxis(const QPointF& delta, const QPointF& position) const {
    const auto tx = static_cast<qint64>(position.x() - m_initial.x());
    const auto ty = static_cast<qint64>(position.y() - m_initial.y());
    return std::llabs(tx) > std::llabs(ty) ? QPointF(delta.x(), 0) : QPointF(0, delta.y());
}

bool DragTracker::leftClickDistance(const QPointF& position) const {
    return (position - m_initial).manhattanLength() >=
           QGuiApplication::styleHints()->startDragDistance();
}
