// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "AttachedWindow.h"

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QString>

class QWidget;

// Shows a help view (an interface by name, see ViewUtils::viewFromNib, or a
// ready view) in a frameless bubble attached beside a point or a widget of
// a window, 2 pixels away. The bubble goes when the window loses the
// keyboard focus, moves, hides or closes, or on hideTooltip(). One bubble
// at a time per helper. Main thread.
class TooltipHelper : public QObject {
    Q_OBJECT

public:
    // Sides, as AttachedWindow::Side: 0 left, 1 below, 2 right, 3 above.
    explicit TooltipHelper(QObject* parent = nullptr);
    ~TooltipHelper() override;

    // A tooltip window exists.
    bool isTooltipVisible() const;
    AttachedWindow* tooltip() const { return m_tooltip.data(); }

    // Attached to the middle of `view`'s edge on `side`.
    bool showTooltipFromNib(const QString& nibName, QWidget* window, QWidget* relativeToView,
                            int side);
    // Attached to a point in global screen coordinates. False (and nothing
    // shown) when the interface does not load.
    bool showTooltipFromNib(const QString& nibName, QWidget* window, const QPoint& attachedToPoint,
                            int side);
    // The same with a view built by the caller; the bubble takes it.
    bool showTooltip(QWidget* view, QWidget* window, const QPoint& attachedToPoint, int side);

    void hideTooltip();

    // The middle of the view's left (0), bottom (1), right (2) or top (3)
    // edge in global screen coordinates.
    static QPoint pointForView(const QWidget* view, int side);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QPointer<AttachedWindow> m_tooltip;
    QPointer<QWidget> m_window;
};
