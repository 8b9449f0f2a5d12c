// SPDX-License-Identifier: GPL-3.0-or-later
#include "DateUtils.h"

#include <QTimeZone>

QDateTime DateUtils::dateByTruncatingTime(const QDateTime& date) {
    if (!date.isValid())
        return {};
    // Year, month and day as the user's calendar sees them, then midnight.
    const QDate day = date.toLocalTime().date();
    return day.startOfDay(Qt::LocalTime);
}
