// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CursorHider.h"
#include "DoubleClickTracker.h"
#include "DragTracker.h"
#include "ViewerPointerView.h"

#include <QObject>

class QMouseEvent;
class QWidget;

// The left button and the pointer over a viewer view, the same for both
// views: a press shows a closed hand, a move with the button down is a drag
// step the view carries out, any other move shows the pointer until it
// rests, and the second release inside the double-click interval is a
// double click, reported to the view's delegate. Qt's double-click event
// counts as a press, as double clicks are counted here. During a transition
// only the hand opens at a release. Other buttons are ignored, so they
// reach the view's parent.
//
// Watches the view's mouse events through an event filter, so the views
// keep no pointer handling of their own. Main thread.
class ViewerPointer : public QObject {
    Q_OBJECT
public:
    // `view` and `owner` are the one viewer view, which owns this object.
    ViewerPointer(QWidget* view, ViewerPointerView& owner);

    DragTracker& drag() { return m_drag; }

    void showCursor() { m_cursor.showCursor(); }
    void hideCursor() { m_cursor.hideCursor(); }
    void scheduleHideCursorTimer() { m_cursor.scheduleHide(); }
    void cancelHideCursorTimer() { m_cursor.cancelHide(); }
    bool isCursorVisible() const { return m_cursor.isCursorVisible(); }
    void cancelDoubleClick() { m_doubleClick.cancel(); }

    // The viewer takes the screen: the pointer is hidden.
    void setup();
    // The viewer leaves the screen: the pointer shown, no press pending.
    void cleanup();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void press(QMouseEvent& event);
    void move(QMouseEvent& event);
    void release(QMouseEvent& event);

    ViewerPointerView& m_owner;
    CursorHider m_cursor;
    DoubleClickTracker m_doubleClick;
    DragTracker m_drag;
    bool m_buttonDown = false;
};
