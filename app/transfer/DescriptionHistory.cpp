// SPDX-License-Identifier: GPL-3.0-or-later
#include "DescriptionHistory.h"

#include "UserDefaults.h"
#include "settings/SettingsKeys.h"

QStringList DescriptionHistory::updated(QStringList history, const QString& description) {
    history.removeAll(description);
    history.prepend(description);
    while (history.size() > maximumEntries)
        history.removeLast();
    return history;
}

QStringList DescriptionHistory::entries() const {
    return m_settings.stringArrayForKey(QLatin1String(SettingsKeys::transfer_desc_history));
}

QStringList DescriptionHistory::remember(const QString& description) {
    if (description.isEmpty())
        return entries();
    const QStringList history = updated(entries(), description);
    m_settings.setObject(history, QLatin1String(SettingsKeys::transfer_desc_history));
    return history;
}
