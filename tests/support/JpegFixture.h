// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QColor>
#include <QDateTime>
#include <QSize>
#include <QString>

// Small JPEG files with chosen EXIF data, built by the tests themselves:
// QImage encodes the pixels, libexif builds the APP1 block that is put
// right after the start-of-image marker.
namespace JpegFixture {

struct Options {
    QSize size{64, 32};
    // Left half, right half: a turn shows where they went.
    QColor left{Qt::red};
    QColor right{Qt::blue};
    QDateTime digitized; // DateTimeDigitized (36868), local time; null: none
    QString make;        // 271; empty: none
    QString model;       // 272; empty: none
    int orientation = 0; // 274; 0: none
};

// The JPEG bytes; with no EXIF field set, a plain JPEG without APP1.
QByteArray jpeg(const Options& options);

// Writes jpeg(options) to `path`, creating missing folders.
bool write(const QString& path, const Options& options);

} // namespace JpegFixture
