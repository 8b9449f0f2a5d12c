// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QSize>
#include <QString>

// What a RAW or HEIF file says about itself, read without decoding pixels.
// A plain value; fields the file does not give stay empty or zero.
struct PictureMetadata {
    QSize size;      // upright pixel size
    QDateTime taken; // capture date, local time
    QString make;    // camera maker
    QString model;   // camera model
    double exposureSeconds = 0;
    double fNumber = 0;
    double focalLength = 0; // millimetres
    int iso = 0;
};
