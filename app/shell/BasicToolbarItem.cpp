// SPDX-License-Identifier: GPL-3.0-or-later
#include "BasicToolbarItem.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMetaMethod>

namespace {

bool isControl(const QWidget* view) {
    return qobject_cast<const QAbstractButton*>(view) ||
           qobject_cast<const QAbstractSlider*>(view) ||
           qobject_cast<const QAbstractSpinBox*>(view) || qobject_cast<const QComboBox*>(view) ||
           qobject_cast<const QLineEdit*>(view);
}

} // namespace

BasicToolbarItem::BasicToolbarItem(const QString& text, QObject* parent)
    : QAction(text, parent) {}

void BasicToolbarItem::validate() {
    QWidget* control = isControl(m_itemView) ? m_itemView.data() : nullptr;
    QObject* target = m_itemTarget;
    if (!target && control)
        target = control->property("target").value<QObject*>();
    QByteArray action = m_itemAction;
    if (action.isEmpty() && control)
        action = control->property("action").toByteArray();

    if (!target || action.isEmpty()) {
        setEnabled(false);
        return;
    }
    const int index = target->metaObject()->indexOfMethod("validateToolbarItem(BasicToolbarItem*)");
    if (index < 0)
        return;
    bool enabled = false;
    const QMetaMethod method = target->metaObject()->method(index);
    if (!method.invoke(target, Qt::DirectConnection, Q_RETURN_ARG(bool, enabled),
                       Q_ARG(BasicToolbarItem*, this)))
        return;
    if (control)
        control->setEnabled(enabled);
    else
        setEnabled(enabled);
}
