// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAction>
#include <QByteArray>
#include <QPointer>

class QWidget;

// A tool-bar item that may carry a control as its view, validated through
// its target. The target is the item's own, else the control's (the
// control's dynamic properties "target" (QObject*) and "action" (method
// name)); likewise the action. Without either the item is disabled; a
// target with an invokable `bool validateToolbarItem(BasicToolbarItem*)`
// decides the enabled state of the control, or of the item when there is
// no control. Main thread.
class BasicToolbarItem : public QAction {
    Q_OBJECT
public:
    explicit BasicToolbarItem(const QString& text, QObject* parent = nullptr);

    void setView(QWidget* view) { itemView = view; }
    QWidget* view() const { return itemView; }
    void setTarget(QObject* target) { itemTarget = target; }
    QObject* target() const { return itemTarget; }
    // Name of an invokable method of the target taking no arguments.
    void setActionName(const QByteArray& name) { itemAction = name; }
    QByteArray actionName() const { return itemAction; }

    void validate();

private:
    QPointer<QWidget> itemView;
    QPointer<QObject> itemTarget;
    QByteArray itemAction;
};
