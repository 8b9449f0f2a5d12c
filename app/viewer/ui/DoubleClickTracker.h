// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

#include <optional>

// Double clicks as the viewer views count them: a mouse-down opens a window
// of the platform's double-click interval, and the second mouse-up inside
// it is the double click. A mouse-up after the window, or a drag, closes
// it. Times are the events' timestamps in milliseconds. Main thread.
class DoubleClickTracker {
public:
    // The interval is the platform's (QStyleHints).
    DoubleClickTracker();

    int interval() const { return m_interval; }
    void setInterval(int milliseconds) { m_interval = milliseconds; }
    bool isOpen() const { return m_firstMouseDown.has_value(); }

    // Opens the window unless one is open.
    void mouseDown(quint64 timestamp);
    // True at the second mouse-up inside the window, which then closes;
    // a mouse-up without a window or after it closes it.
    bool mouseUp(quint64 timestamp);
    void cancel();

private:
    std::optional<quint64> m_firstMouseDown;
    int m_numMouseUp = 0;
    int m_interval;
};
