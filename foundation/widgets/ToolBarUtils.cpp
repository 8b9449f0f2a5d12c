// SPDX-License-Identifier: GPL-3.0-or-later
#include "ToolBarUtils.h"

#include <QAction>
#include <QToolBar>

bool ToolBarUtils::removeItemWithIdentifier(QToolBar* toolBar, const QString& identifier) {
    if (!toolBar || identifier.isEmpty())
        return false;
    for (QAction* item : toolBar->actions()) {
        if (item->objectName() == identifier) {
            toolBar->removeAction(item);
            return true;
        }
    }
    return false;
}
