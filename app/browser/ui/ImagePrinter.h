// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QStringList>

class QPrinter;
class QWidget;

// Prints pictures one per page: each is read from its file, turned a
// quarter clockwise when its orientation (portrait or landscape) differs
// from the page's, centred in the printable area and scaled down
// proportionally when it is larger, never up. A picture that cannot be
// read leaves its page empty. Main thread (QPrinter).
class ImagePrinter {
public:
    // The print dialog on `parent`, then the pages, when the user accepts.
    static void printImages(const QStringList& paths, QWidget* parent);

    // What the dialog prints with: every page on `printer`, first picture
    // first. False when nothing was printed (no paths, no device).
    static bool printImagesTo(QPrinter& printer, const QStringList& paths);

    // The picture as printed on a page of `page` size (w < h: portrait):
    // turned when the orientations differ. Null when it cannot be read.
    static QImage pageImage(const QString& path, const QSizeF& page);

    // Where a picture of `imageSize` (in the page's units) goes on `page`:
    // centred, scaled down to fit when larger.
    static QRectF placement(const QSizeF& imageSize, const QRectF& page);
};
