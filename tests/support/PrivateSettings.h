// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "UserDefaults.h"

#include <QTemporaryDir>

// A settings store of its own, in a temporary folder, to hand to the code
// under test instead of the per-user one.
struct PrivateSettings {
    QTemporaryDir folder;
    UserDefaults store{folder.filePath(QStringLiteral("pixhaul.conf"))};
};
