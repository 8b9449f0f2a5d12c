// SPDX-License-Identifier: GPL-3.0-or-later
#include "DoubleClickTracker.h"

#include <QGuiApplication>
#include <QStyleHints>

DoubleClickTracker::DoubleClickTracker()
    : m_interval(QGuiApplication::styleHints()->mouseDoubleClickInterval()) {}

void DoubleClickTracker::mouseDown(quint64 timestamp) {
    if (m_firstMouseDown)
        return;
    m_firstMouseDown = timestamp;
    m_numMouseUp = 0;
}

bool DoubleClickTracker::mouseUp(quint64 timestamp) {
    // Signed, so a clock that went backwards counts as inside the window
    // rather than as an enormous delay.
    if (m_firstMouseDown &&
        static_cast<qint64>(timestamp - *m_firstMouseDown) < static_cast<qint64>(m_interval)) {
        if (++m_numMouseUp < 2)
            return false;
        cancel();
        return true;
    }
    cancel();
    return false;
}

void DoubleClickTracker::cancel() {
    m_firstMouseDown.reset();
    m_numMouseUp = 0;
}
