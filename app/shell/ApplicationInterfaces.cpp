// SPDX-License-Identifier: GPL-3.0-or-later
#include "ApplicationInterfaces.h"

#include "ui_TransferMaskTip.h"

#include "widgets/ViewUtils.h"

void ApplicationInterfaces::registerAll() {
    static bool registered = false;
    if (registered)
        return;
    registered = true;
    ViewUtils::registerForm<Ui::TransferMaskTip>(QStringLiteral("TransferMaskTip"));
}
