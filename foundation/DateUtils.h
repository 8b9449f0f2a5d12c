// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

// Calendar helpers on dates. Pure; any thread.
namespace DateUtils {

// The same calendar day at 00:00 in the local time zone. Where midnight does
// not exist (a daylight-saving jump at 00:00) the first valid time of the
// day. An invalid date stays invalid.
QDateTime dateByTruncatingTime(const QDateTime& date);

} // namespace DateUtils
