// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// User-visible texts are looked up by key ("CREATE_FOLDER_INVALID") in the
// program's Qt translation catalogue, which maps every key to its English
// text. A key without an entry reads as itself.
namespace Localization {

// Loads the catalogue ":/i18n/<catalogue>_<language>.qm" for the user's
// locale, falling back to English, and installs it in the application.
bool installTranslations(const QString& catalogue = QStringLiteral("pixhaul"));

// The text of `key`; with `count` >= 0 the key's plural form for it (%n).
QString localizedString(const char* key, int count = -1);

} // namespace Localization
