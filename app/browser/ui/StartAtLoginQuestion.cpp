// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartAtLoginQuestion.h"

#include "Localization.h"
#include "StartAtLoginController.h"
#include "UserDefaults.h"
#include "settings/SettingsKeys.h"
#include "widgets/AlertSheet.h"

using Localization::localizedString;

bool StartAtLoginQuestion::askIfFirstRun(UserDefaults& settings, QWidget* window,
                                         StartAtLoginController& login) {
    const QString key = QLatin1String(SettingsKeys::first_run);
    if (settings.objectForKey(key).isValid())
        return false;
    ESSBeginAlertSheet(
        localizedString("START_AT_LOGIN_TITLE"), localizedString("Yes"), QString(),
        localizedString("No"), window,
        [&login](void*, int returnCode) {
            const bool start = returnCode == AlertDefaultReturn;
            login.setStartAtLogin(false);
            login.setStartAtLogin(start);
            login.setEnabled(start);
        },
        nullptr, nullptr, localizedString("START_AT_LOGIN_INFO"));
    settings.setObject(QStringLiteral("1"), key);
    settings.synchronize();
    return true;
}
