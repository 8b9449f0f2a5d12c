// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OverwriteMode.h"

#include <QMetaType>

class UserDefaults;

// The answer to one overwrite question of a transfer run.
struct OverwriteAnswer {
    bool cancel = false;      // stop the whole transfer
    bool doOverwrite = false; // true replace, false skip
    bool forAll = false;      // holds for every later conflict of this run

    static OverwriteAnswer canceled() { return {true, false, false}; }

    // The answer for a replace or skip choice with its scope, recorded the
    // way every prompt records it: the scope becomes
    // "transfer_overwrite_default"; "always" also stores the choice as
    // "transfer_overwrite_mode", both in `settings`. Any thread.
    static OverwriteAnswer fromChoice(bool overwrite, OverwriteScope scope, UserDefaults& settings);
};

Q_DECLARE_METATYPE(OverwriteAnswer)
