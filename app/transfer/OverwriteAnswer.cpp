// SPDX-License-Identifier: GPL-3.0-or-later
#include "OverwriteAnswer.h"

#include "UserDefaults.h"
#include "settings/SettingsKeys.h"

OverwriteAnswer OverwriteAnswer::fromChoice(bool overwrite, OverwriteScope scope,
                                            UserDefaults& settings) {
    settings.setInteger(scope, QLatin1String(SettingsKeys::transfer_overwrite_default));
    OverwriteAnswer answer;
    answer.doOverwrite = overwrite;
    if (scope == OverwriteScopeAlways) {
        settings.setInteger(overwrite ? OverwriteModeReplace : OverwriteModeSkip,
                            QLatin1String(SettingsKeys::transfer_overwrite_mode));
        answer.forAll = true;
    } else if (scope == OverwriteScopeThisTransfer) {
        answer.forAll = true;
    }
    return answer;
}
