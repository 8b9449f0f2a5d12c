// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QToolBar;

// Tool bar items are identified by their action's objectName. Main thread.
namespace ToolBarUtils {

// Removes the first item with that identifier from the bar (the action
// itself stays with its owner); false when there is none.
bool removeItemWithIdentifier(QToolBar* toolBar, const QString& identifier);

} // namespace ToolBarUtils
