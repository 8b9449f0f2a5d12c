// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewerPointer.h"

#include "viewer/ImageViewDelegate.h"

#include <QMouseEvent>
#include <QWidget>

#include <utility>

ViewerPointer::ViewerPointer(QWidget* view, ViewerPointerView& owner)
    : m_owner(owner)
    , m_cursor(view) {
    // Moves without a button show the pointer again.
    view->setMouseTracking(true);
    view->installEventFilter(this);
}

void ViewerPointer::setup() {
    m_cursor.markShown();
    m_cursor.hideCursor();
}

void ViewerPointer::cleanup() {
    m_cursor.cancelHide();
    m_cursor.setClosedHand(false);
    m_cursor.showCursor();
    m_doubleClick.cancel();
    m_buttonDown = false;
}

bool ViewerPointer::eventFilter(QObject* watched, QEvent* event) {
    // Each mouse event stops here, accepted or ignored as the view's own
    // handler would have left it, so an ignored one still reaches the parent.
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        press(*static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseMove:
        move(*static_cast<QMouseEvent*>(event));
        return true;
    case QEvent::MouseButtonRelease:
        release(*static_cast<QMouseEvent*>(event));
        return true;
    default:
        return QObject::eventFilter(watched, event);
    }
}

void ViewerPointer::press(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) {
        event.ignore();
        return;
    }
    if (m_owner.isInTransition())
        return;
    m_buttonDown = true;
    m_doubleClick.mouseDown(event.timestamp());
    m_drag.press(event.position());
    m_cursor.setClosedHand(true);
    m_cursor.cancelHide();
    m_cursor.showCursor();
}

void ViewerPointer::move(QMouseEvent& event) {
    if (m_owner.isInTransition())
        return;
    if (!m_buttonDown || !(event.buttons() & Qt::LeftButton)) {
        m_cursor.showCursor();
        m_cursor.scheduleHide();
        return;
    }
    // Jitter within the platform's drag distance still makes a click.
    if (m_drag.leftClickDistance(event.position()))
        m_doubleClick.cancel();
    m_owner.drag(event);
}

void ViewerPointer::release(QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) {
        event.ignore();
        return;
    }
    // The closed hand goes whatever happened since the press.
    m_cursor.setClosedHand(false);
    const bool wasDown = std::exchange(m_buttonDown, false);
    if (m_owner.isInTransition() || !wasDown)
        return;
    m_owner.pointerReleased();
    if (m_doubleClick.mouseUp(event.timestamp())) {
        if (ImageViewDelegate* delegate = m_owner.delegate())
            delegate->imageViewDoubleClicked();
        return;
    }
    m_cursor.scheduleHide();
}
