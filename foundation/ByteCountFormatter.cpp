// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteCountFormatter.h"

namespace {
// Unit letters by the number of divisions; none for plain bytes.
constexpr const char* sUnits[] = {"", "K", "M", "G", "T", "P", "E", "Z", "Y"};
} // namespace

QString ByteCountFormatter::stringFromByteCount(qint64 count, const QString& suffix,
                                                int countStyle) {
    const double divisor = countStyle == DecimalCountStyle ? 1000.0 : 1024.0;
    double value = static_cast<double>(count);
    int index = 0;
    while (value >= divisor && index < 8) {
        value /= divisor;
        ++index;
    }
    return QString::asprintf(index < 2 ? "%.0f %s" : "%.1f %s", value, sUnits[index]) + suffix;
}
