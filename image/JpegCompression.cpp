// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegCompression.h"

#include <algorithm>
#include <cmath>

double JpegCompression::factorFromSetting(double value) {
    if (!std::isfinite(value))
        return 0.9;
    const double factor = value <= 1.0 ? value : value / 100.0;
    return std::clamp(factor, 0.0, 1.0);
}

int JpegCompression::qualityFromSetting(double value) {
    return std::clamp(static_cast<int>(std::lround(factorFromSetting(value) * 100.0)), 1, 100);
}
