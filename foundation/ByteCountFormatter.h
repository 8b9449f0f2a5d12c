// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// Byte counts as short text: "512 B", "2 KB", "1.5 MB".
class ByteCountFormatter {
public:
    // Count style 2 divides by 1,000 (decimal); every other style by 1,024.
    static constexpr int DecimalCountStyle = 2;

    static QString stringFromByteCount(qint64 count, const QString& suffix, int countStyle);
};
