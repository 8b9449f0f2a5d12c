// SPDX-License-Identifier: GPL-3.0-or-later
#include "MenuUtils.h"

QKeySequence MenuUtils::shortcutForKeyEquivalent(const QString& keyEquivalent,
                                                 Qt::KeyboardModifiers modifierMask) {
    const QKeySequence parsed(keyEquivalent, QKeySequence::PortableText);
    if (keyEquivalent.isEmpty() || parsed.isEmpty())
        return {};
    Qt::KeyboardModifiers modifiers = modifierMask | parsed[0].keyboardModifiers();
    if (keyEquivalent.size() == 1 && keyEquivalent.at(0).isUpper())
        modifiers |= Qt::ShiftModifier;
    return QKeySequence(QKeyCombination(modifiers, parsed[0].key()));
}

QMenu* MenuUtils::addSubMenuWithTitle(QMenu* menu, const QString& title) {
    return menu ? menu->addMenu(title) : nullptr;
}
