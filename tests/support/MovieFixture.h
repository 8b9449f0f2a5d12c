// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QString>

// Small movies written by the tests through FFmpeg's encoders: the left
// half of every frame is red, the right half blue. Link PkgConfig::FFMPEG.
namespace MovieFixture {

// Writes `frameCount` frames at `framesPerSecond` into `path` (the
// container follows the extension, ".avi" works everywhere). False with a
// reason when no suitable encoder or muxer is available.
bool writeTwoColourMovie(const QString& path, const QSize& size, int frameCount,
                         int framesPerSecond, QString* reason);

} // namespace MovieFixture
