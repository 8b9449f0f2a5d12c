// SPDX-License-Identifier: GPL-3.0-or-later
#include "TooltipHelper.h"

#include "AttachedWindow.h"
#include "ViewUtils.h"

#include <QEvent>
#include <QWidget>

namespace {

constexpr qreal kDistance = 2.0;

} // namespace

TooltipHelper::TooltipHelper(QObject* parent)
    : QObject(parent) {}

TooltipHelper::~TooltipHelper() {
    hideTooltip();
}

bool TooltipHelper::isTooltipVisible() const {
    return !m_tooltip.isNull();
}

QPoint TooltipHelper::pointForView(const QWidget* view, int side) {
    if (!view)
        return {};
    const QPoint topLeft = view->mapToGlobal(QPoint(0, 0));
    const int width = view->width();
    const int height = view->height();
    switch (side) {
    case 0:
        return QPoint(topLeft.x(), topLeft.y() + height / 2);
    case 1:
        return QPoint(topLeft.x() + width / 2, topLeft.y() + height);
    case 2:
        return QPoint(topLeft.x() + width, topLeft.y() + height / 2);
    default:
        return QPoint(topLeft.x() + width / 2, topLeft.y());
    }
}

bool TooltipHelper::showTooltipFromNib(const QString& nibName, QWidget* window,
                                       QWidget* relativeToView, int side) {
    return showTooltipFromNib(nibName, window, pointForView(relativeToView, side), side);
}

bool TooltipHelper::showTooltipFromNib(const QString& nibName, QWidget* window,
                                       const QPoint& attachedToPoint, int side) {
    hideTooltip();
    QWidget* view = ViewUtils::viewFromNib(nibName);
    if (!view)
        return false;
    return showTooltip(view, window, attachedToPoint, side);
}

bool TooltipHelper::showTooltip(QWidget* view, QWidget* window, const QPoint& attachedToPoint,
                                int side) {
    hideTooltip();
    if (!view)
        return false;
    QWidget* topLevel = window ? window->window() : nullptr;
    m_tooltip = new AttachedWindow(view, attachedToPoint, topLevel, side, kDistance);
    m_window = topLevel;
    if (topLevel)
        topLevel->installEventFilter(this);
    m_tooltip->show();
    m_tooltip->raise();
    return true;
}

void TooltipHelper::hideTooltip() {
    if (m_window)
        m_window->removeEventFilter(this);
    m_window = nullptr;
    if (AttachedWindow* tooltip = m_tooltip.data()) {
        m_tooltip = nullptr;
        tooltip->hide();
        tooltip->deleteLater();
    }
}

bool TooltipHelper::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_window.data()) {
        switch (event->type()) {
        case QEvent::WindowDeactivate:
        case QEvent::Move:
        case QEvent::Hide:
        case QEvent::Close:
            hideTooltip();
            break;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
