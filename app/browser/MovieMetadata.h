// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <optional>

// What a movie file says about itself, as far as it says it: every field
// is empty when the file does not tell. Filled by whoever can read movies
// (FFmpeg lives outside the engine). A plain value; any thread.
struct MovieMetadata {
    std::optional<int> pixelWidth;
    std::optional<int> pixelHeight;
    std::optional<double> durationSeconds;
    // Codec names, video first.
    QStringList codecs;
    // Bits per second.
    std::optional<qint64> videoBitRate;
    std::optional<qint64> audioBitRate;
};
