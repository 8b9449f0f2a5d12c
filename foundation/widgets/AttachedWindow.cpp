// SPDX-License-Identifier: GPL-3.0-or-later
#include "AttachedWindow.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>

namespace {

constexpr int kArrowLength = 10;
constexpr int kArrowHalfWidth = 9;
constexpr qreal kCornerRadius = 8.0;
constexpr int kPadding = 10;

// The arrow's position along an edge: at the point when the rounded
// corners leave room, else in the middle of the edge.
qreal arrowPosition(qreal from, qreal wanted, qreal to) {
    const qreal low = from + kCornerRadius + kArrowHalfWidth;
    const qreal high = to - kCornerRadius - kArrowHalfWidth;
    return low <= high ? qBound(low, wanted, high) : (from + to) / 2;
}

} // namespace

AttachedWindow::AttachedWindow(QWidget* view, const QPoint& point, QWidget* window, int side,
                               qreal distance)
    : QWidget(window, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus)
    , m_view(view)
    , m_point(point)
    , m_side(qBound(0, side, 3))
    , m_distance(distance) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    // Tooltip colours for the bubble and whatever text the view holds.
    QPalette colours = palette();
    colours.setColor(QPalette::Window, colours.color(QPalette::ToolTipBase));
    colours.setColor(QPalette::WindowText, colours.color(QPalette::ToolTipText));
    colours.setColor(QPalette::Text, colours.color(QPalette::ToolTipText));
    setPalette(colours);
    auto* layout = new QVBoxLayout(this);
    // Room for the arrow on the side that faces the point.
    QMargins margins(kPadding, kPadding, kPadding, kPadding);
    switch (m_side) {
    case SideLeft:
        margins.setRight(kPadding + kArrowLength);
        break;
    case SideBottom:
        margins.setTop(kPadding + kArrowLength);
        break;
    case SideRight:
        margins.setLeft(kPadding + kArrowLength);
        break;
    default:
        margins.setBottom(kPadding + kArrowLength);
        break;
    }
    layout->setContentsMargins(margins);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (m_view)
        layout->addWidget(m_view);
    reposition();
}

void AttachedWindow::reposition() {
    adjustSize();
    const QSize size = this->size();
    const int gap = qRound(m_distance);
    QPoint topLeft;
    switch (m_side) {
    case SideLeft:
        topLeft = QPoint(m_point.x() - gap - size.width(), m_point.y() - size.height() / 2);
        break;
    case SideBottom:
        topLeft = QPoint(m_point.x() - size.width() / 2, m_point.y() + gap);
        break;
    case SideRight:
        topLeft = QPoint(m_point.x() + gap, m_point.y() - size.height() / 2);
        break;
    default:
        topLeft = QPoint(m_point.x() - size.width() / 2, m_point.y() - gap - size.height());
        break;
    }
    // Slide along the edge to stay on screen; the arrow follows the point.
    if (QScreen* screen = QGuiApplication::screenAt(m_point)) {
        const QRect available = screen->availableGeometry();
        topLeft.setX(qBound(available.left(), topLeft.x(),
                            qMax(available.left(), available.right() + 1 - size.width())));
        topLeft.setY(qBound(available.top(), topLeft.y(),
                            qMax(available.top(), available.bottom() + 1 - size.height())));
    }
    move(topLeft);
    setMask(QRegion(outline().toFillPolygon().toPolygon()));
    update();
}

QPainterPath AttachedWindow::outline() const {
    QRectF body = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    // The arrow's tip is where the point is, seen from this window.
    const QPoint tip = m_point - pos();
    QPolygonF arrow;
    switch (m_side) {
    case SideLeft: {
        body.setRight(body.right() - kArrowLength);
        const qreal y = arrowPosition(body.top(), tip.y(), body.bottom());
        arrow << QPointF(body.right(), y - kArrowHalfWidth) << QPointF(width(), y)
              << QPointF(body.right(), y + kArrowHalfWidth);
        break;
    }
    case SideBottom: {
        body.setTop(body.top() + kArrowLength);
        const qreal x = arrowPosition(body.left(), tip.x(), body.right());
        arrow << QPointF(x - kArrowHalfWidth, body.top()) << QPointF(x, 0)
              << QPointF(x + kArrowHalfWidth, body.top());
        break;
    }
    case SideRight: {
        body.setLeft(body.left() + kArrowLength);
        const qreal y = arrowPosition(body.top(), tip.y(), body.bottom());
        arrow << QPointF(body.left(), y - kArrowHalfWidth) << QPointF(0, y)
              << QPointF(body.left(), y + kArrowHalfWidth);
        break;
    }
    default: {
        body.setBottom(body.bottom() - kArrowLength);
        const qreal x = arrowPosition(body.left(), tip.x(), body.right());
        arrow << QPointF(x - kArrowHalfWidth, body.bottom()) << QPointF(x, height())
              << QPointF(x + kArrowHalfWidth, body.bottom());
        break;
    }
    }
    QPainterPath path;
    path.addRoundedRect(body, kCornerRadius, kCornerRadius);
    QPainterPath pointer;
    pointer.addPolygon(arrow);
    pointer.closeSubpath();
    return path.united(pointer);
}

void AttachedWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(palette().color(QPalette::Mid), 1.0));
    painter.setBrush(palette().color(QPalette::ToolTipBase));
    painter.drawPath(outline());
}

void AttachedWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    setMask(QRegion(outline().toFillPolygon().toPolygon()));
}
