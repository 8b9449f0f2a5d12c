// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>

// Small HEIC files encoded by the tests through libheif's HEVC encoder,
// with an EXIF block (capture date, camera, orientation) and optionally a
// stored thumbnail.
namespace HeifFixture {

struct Options {
    QSize size{64, 32};
    // Left half, right half: a turn shows where they went.
    QColor left{Qt::red};
    QColor right{Qt::blue};
    QDateTime taken;       // DateTimeOriginal, local time; null: none
    QString make;          // empty: none
    int orientation = 0;   // EXIF only (the pixels are not turned); 0: none
    int thumbnailSide = 0; // a stored thumbnail this large; 0: none
    // When set, these pixels (`size` ignored) instead of the two halves.
    QImage picture;
};

// Whether this libheif can encode HEVC; `reason` tells why not.
bool canEncode(QString* reason = nullptr);

// The file's bytes; empty when encoding fails.
QByteArray heic(const Options& options);

// Writes heic(options) to `path`, creating missing folders.
bool write(const QString& path, const Options& options);

} // namespace HeifFixture
