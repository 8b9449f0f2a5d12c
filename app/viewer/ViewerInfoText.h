// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class DrawingImageBase;

// The text of the viewer's information overlay for one picture:
//   level 0  nothing
//   level 1  the file's path
//   level 2  and "<w> x <h> pixels (Zoom x<zoom>), <file size>"
//   level 3  and the date taken (else the file's creation date), and the
//            exposure, F-number, ISO speed and focal length when known.
// Reads the file's size and EXIF data. Main thread (the image's EXIF data is
// created on first request).
class ViewerInfoText {
public:
    ViewerInfoText() = delete;

    // `glFormat` writes the zoom with three decimals, as the OpenGL view
    // shows it; otherwise in the shortest form ("%g").
    static QString text(DrawingImageBase& image, int level, bool glFormat);

    // The date line: the EXIF date digitised, else the file's creation date,
    // in the locale's long date and medium time, each word capitalised.
    // Empty when neither date is known.
    static QString dateLine(DrawingImageBase& image);
    // "<exposure> <F-number> ISO<speed> <focal length>" without the values
    // that are missing (and without the ISO label when its value is).
    static QString shootingLine(DrawingImageBase& image);
};
