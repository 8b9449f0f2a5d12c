// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QPoint>
#include <QWidget>

class QPainterPath;

// A frameless bubble holding one view, placed on one side of a screen point
// with a small arrow pointing at it. It never takes the keyboard focus and
// stays above the window it belongs to. Main thread.
class AttachedWindow : public QWidget {
    Q_OBJECT

public:
    // Where the bubble sits relative to the point.
    enum Side { SideLeft = 0, SideBottom = 1, SideRight = 2, SideTop = 3 };

    // Takes `view` as its content; `window` is the window it is attached to.
    AttachedWindow(QWidget* view, const QPoint& point, QWidget* window, int side, qreal distance);

    QWidget* view() const { return m_view; }
    int side() const { return m_side; }
    QPoint point() const { return m_point; }

    // Places the bubble for its point and side, kept on the point's screen.
    void reposition();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPainterPath outline() const;

    QWidget* m_view;
    QPoint m_point;
    int m_side;
    qreal m_distance;
};
