// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// Application-wide modal alerts. Main thread.
namespace ApplicationUtils {

// The alert styles, by their stored numbers.
enum AlertStyle { AlertStyleWarning = 0, AlertStyleInformational = 1, AlertStyleCritical = 2 };

// A modal alert with `message` as its text, an empty informative text, the
// style's icon and one button "OK" (not translated). Returns when it is
// dismissed. `parent` (default: the active window) centres it; unknown
// styles show as warnings.
void alert(const QString& message, int style, QWidget* parent = nullptr);

} // namespace ApplicationUtils
