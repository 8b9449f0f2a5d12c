// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

class UserDefaults;

// The group descriptions used last ("transfer_desc_history" in the settings
// store it is given, which must outlive it): most recent first, at most
// ten, no duplicates.
class DescriptionHistory {
public:
    static constexpr int maximumEntries = 10;

    explicit DescriptionHistory(UserDefaults& store)
        : m_settings(store) {}

    // `history` with `description` moved or added to the front.
    static QStringList updated(QStringList history, const QString& description);

    // The stored history.
    QStringList entries() const;
    // Records a non-empty description in the stored history; returns the new list.
    QStringList remember(const QString& description);

private:
    UserDefaults& m_settings;
};
