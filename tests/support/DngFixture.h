// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QColor>
#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>

// Small DNG files written by hand (a TIFF structure libraw reads): IFD 0
// holds a JPEG preview (of any size: libraw takes the raw data from the
// CFA sub-IFD) and the camera's tags, a sub-IFD the raw Bayer data
// (16 bits, RGGB), the EXIF IFD exposure and capture date.
namespace DngFixture {

struct Options {
    QSize rawSize{256, 192};
    // The preview, as stored: left half `left`, right half `right`.
    QSize previewSize{96, 64};
    QColor left{Qt::red};
    QColor right{Qt::blue};
    int orientation = 1;
    QDateTime taken; // DateTime and DateTimeOriginal, local time; null: none
    QString make = QStringLiteral("Pixhaul");
    QString model = QStringLiteral("Fixture One");
    // False: the raw strip is declared but the file ends before it, so only
    // the preview can be read.
    bool rawData = true;
    // When set, the preview's pixels instead of the two halves (the
    // benchmark's camera-like previews), encoded at `previewQuality`.
    QImage preview;
    int previewQuality = 95;
};

QByteArray dng(const Options& options);

// Writes dng(options) to `path`, creating missing folders.
bool write(const QString& path, const Options& options);

} // namespace DngFixture
