// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QVariantMap>

class UserDefaults;

namespace SettingsDefaults {

// The default of every registered key, computed now: home-relative paths
// expanded, the viewer background as colour text, an empty history.
QVariantMap defaultValues();

// Registers defaultValues() in `store`; stored values stay as they are.
void registerDefaults(UserDefaults& store);

} // namespace SettingsDefaults
