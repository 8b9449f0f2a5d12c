// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QString>

#include <libexif/exif-data.h>

// JPEG files with chosen pixels, subsampling and EXIF content, made by the
// tests themselves.
namespace JpegFixtures {

// Four coloured quadrants (red, green / blue, white): any turn or mirror
// shows in which colour lands in the top-left corner.
QImage quadrants(int width, int height);
QColor quadrantColor(int index); // 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right

// TurboJPEG subsampling codes: 0 4:4:4, 2 4:2:0, 3 gray.
QByteArray encodeJpeg(const QImage& image, int subsampling = 2, int quality = 95);

struct ExifOptions {
    int orientation = 0; // 0: no orientation tag
    bool littleEndian = false;
    QByteArray dateTimeDigitized = "2012:05:01 10:00:00";
    QByteArray make = "Zentrovo";
    QByteArray model = "ZX-1";
    bool exposureTime = true;
    QByteArray thumbnail;              // JPEG bytes or empty
    QByteArray userComment;            // extra bulk in the EXIF IFD
    bool thumbnailOrientation = false; // an orientation tag in IFD 1 as well
};

// A new ExifData (caller unrefs) holding what the options ask for.
ExifData* makeExif(const ExifOptions& options);
// Serialised as an APP1 payload ("Exif\0\0...").
QByteArray exifPayload(const ExifOptions& options);

// SOI, the APP1 segment for `exifPayload` (when not empty), then the
// segments of `jpeg` after its SOI (optionally without its JFIF APP0).
QByteArray withExif(const QByteArray& jpeg, const QByteArray& exifPayload, bool keepJfif = false);
QByteArray segment(int marker, const QByteArray& payload);

// A JPEG of `upright` stored so that `orientation` turns it upright again,
// with an EXIF block carrying that orientation and a thumbnail of the
// stored pixels.
QByteArray orientedJpeg(const QImage& upright, int orientation, int subsampling = 2);

// True when every quadrant centre of `image` has the colour of `quadrants`
// within JPEG rounding.
bool showsUprightQuadrants(const QImage& image);

} // namespace JpegFixtures
