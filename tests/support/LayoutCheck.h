// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

// Checks of a window's layout for the tests that show windows at several
// font sizes.
namespace LayoutCheck {

// Object names of the visible named labels, buttons, combo boxes, line
// edits and spin boxes inside `window` that are narrower or lower than they
// need to be.
QStringList clippedControls(const QWidget* window);

// For a person to look at: with PIXHAUL_SCREENSHOT_COMMAND set (a shell
// command, "%1" standing for the picture's name), runs that command while
// `window` is on screen; with PIXHAUL_SCREENSHOT_DIR set, saves `window`
// there as "NAME-SIZEpt.png".
void saveForViewing(QWidget* window, const QString& name);

} // namespace LayoutCheck
