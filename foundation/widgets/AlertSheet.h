// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <functional>

class QWidget;

// Return codes handed to the did-end block.
enum AlertReturnCode { AlertDefaultReturn = 1, AlertAlternateReturn = 0, AlertOtherReturn = -1 };

using AlertDidEndBlock = std::function<void(void* context, int returnCode)>;
using AlertDidDismissBlock = std::function<void(void* context)>;

// Shows a window-modal alert attached to `window` and returns at once.
// After a button is pressed `didEnd` runs once on the main thread with
// AlertDefaultReturn for the default button, then `didDismiss`.
// Empty button titles leave that button out. Main thread only.
void ESSBeginAlertSheet(const QString& title, const QString& defaultButton,
                        const QString& alternateButton, const QString& otherButton, QWidget* window,
                        AlertDidEndBlock didEnd, AlertDidDismissBlock didDismiss, void* context,
                        const QString& message);
