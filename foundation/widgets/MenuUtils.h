// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QString>

// Building menus item by item. Main thread.
namespace MenuUtils {

// The shortcut for a key equivalent ("n", "N", "Delete", ...) with the
// modifiers; an upper-case letter adds Shift. Empty text: no shortcut.
QKeySequence shortcutForKeyEquivalent(const QString& keyEquivalent,
                                      Qt::KeyboardModifiers modifierMask);

// Appends an item with that title, calling `action` on `target` when
// triggered (a member function of the target's class or a functor run in
// its context), with the key equivalent and modifiers (Command, that is
// Ctrl, by default). Returns the new item, owned by the menu.
template <typename Action>
QAction* addItemWithTitle(QMenu* menu, const QString& title, const QObject* target, Action action,
                          const QString& keyEquivalent,
                          Qt::KeyboardModifiers modifierMask = Qt::ControlModifier) {
    if (!menu)
        return nullptr;
    QAction* item = menu->addAction(title);
    item->setShortcut(shortcutForKeyEquivalent(keyEquivalent, modifierMask));
    if (target)
        QObject::connect(item, &QAction::triggered, target, action);
    return item;
}

// Appends an item with that title opening a new, empty submenu, and returns
// the submenu (owned by `menu`).
QMenu* addSubMenuWithTitle(QMenu* menu, const QString& title);

} // namespace MenuUtils
