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

    void setView(QWidget* view) { m_itemView = view; }
    QWidget* view() const { return m_itemView; }
    void setTarget(QObject* target) { m_itemTarget = target; }
    QObject* target() const { return m_itemTarget; }
    // Name of an invokable method of the target taking no arguments.
    void setActionName(const QByteArray& name) { m_itemAction = name; }
    QByteArray actionName() const { return m_itemAction; }

    void validate();

private:
    QPointer<QWidget> m_itemView;
    QPointer<QObject> m_itemTarget;
    QByteArray m_itemAction;
};
