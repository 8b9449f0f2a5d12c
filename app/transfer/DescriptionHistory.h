// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// The group descriptions used last ("transfer_desc_history"): most recent
// first, at most ten, no duplicates.
namespace DescriptionHistory {

inline constexpr int maximumEntries = 10;

// `history` with `description` moved or added to the front.
QStringList updated(QStringList history, const QString& description);

// The stored history.
QStringList entries();
// Records a non-empty description in the stored history; returns the new list.
QStringList remember(const QString& description);

} // namespace DescriptionHistory
