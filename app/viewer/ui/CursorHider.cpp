// SPDX-License-Identifier: GPL-3.0-or-later
#include "CursorHider.h"

#include <QWidget>

CursorHider::CursorHider(QWidget* widget)
    : m_widget(widget) {
    m_hideTimer.setSingleShot(true);
    m_hideTimer.setInterval(hideDelayMs);
    QObject::connect(&m_hideTimer, &QTimer::timeout, &m_hideTimer, [this] { hideCursor(); });
}

void CursorHider::showCursor() {
    if (m_visible)
        return;
    m_visible = true;
    applyShape();
}

void CursorHider::hideCursor() {
    if (!m_visible)
        return;
    m_visible = false;
    applyShape();
}

void CursorHider::scheduleHide() {
    m_hideTimer.start();
}

void CursorHider::setClosedHand(bool closedHand) {
    if (m_closedHand == closedHand)
        return;
    m_closedHand = closedHand;
    applyShape();
}

void CursorHider::applyShape() {
    // A blank shape on the view rather than a global override: the pointer
    // comes back by itself over any other window.
    if (!m_visible)
        m_widget->setCursor(Qt::BlankCursor);
    else if (m_closedHand)
        m_widget->setCursor(Qt::ClosedHandCursor);
    else
        m_widget->unsetCursor();
}
