// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTimer>

class QWidget;

// The pointer over a viewer view: hidden a second after the user stops
// moving it, a closed hand while a button is down. Hides and shows never
// nest: each acts only when the recorded state differs, so any number of
// callers may ask. Main thread; the hide timer runs on the main event loop.
class CursorHider {
public:
    static constexpr int hideDelayMs = 1000;

    // `widget` gets the cursor shapes and must outlive this object.
    explicit CursorHider(QWidget* widget);
    CursorHider(const CursorHider&) = delete;
    CursorHider& operator=(const CursorHider&) = delete;

    bool isCursorVisible() const { return m_visible; }
    // Records the pointer as shown without touching it, so that the next
    // hide acts whatever happened before.
    void markShown() { m_visible = true; }
    void showCursor();
    void hideCursor();
    // Replaces a pending hide by one hideDelayMs from now.
    void scheduleHide();
    void cancelHide() { m_hideTimer.stop(); }
    bool isHidePending() const { return m_hideTimer.isActive(); }
    // The closed hand from mouse-down to mouse-up (shown unless hidden).
    void setClosedHand(bool closedHand);

private:
    void applyShape();

    QWidget* m_widget;
    QTimer m_hideTimer;
    bool m_visible = true;
    bool m_closedHand = false;
};
