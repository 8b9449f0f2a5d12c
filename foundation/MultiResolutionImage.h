// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QImage>
#include <QList>
#include <QSizeF>
#include <QString>

// Our image type for pictures that come in several pixel sizes: the frames
// of an .ico file or a multi-page TIFF, or the sizes a QIcon offers. It holds
// each size as a QImage ("representation", in the order met) and a display
// size in device-independent pixels. Plain QImage stays the type for
// single-size pictures; this one exists where picking among sizes matters.
// A value type; any thread, one thread per instance.
class MultiResolutionImage {
public:
    MultiResolutionImage() = default;

    // One representation; the display size is its pixel size. A null image
    // gives an empty MultiResolutionImage.
    static MultiResolutionImage fromImage(const QImage& image);
    // Every image the file holds, in file order; empty when none decodes.
    static MultiResolutionImage fromFile(const QString& path);
    // The icon's available sizes (normal mode, off state), smallest first as
    // the icon lists them; the display size is the largest one's.
    static MultiResolutionImage fromIcon(const QIcon& icon);

    bool isNull() const { return m_representations.isEmpty(); }
    const QList<QImage>& representations() const { return m_representations; }
    void addRepresentation(const QImage& image);

    QSizeF size() const { return m_size; }
    void setSize(const QSizeF& size) { m_size = size; }

    // The representation with the most pixels (width x height); the first
    // one wins a tie. Null when there is none.
    QImage largestRepresentation() const;
    // Keeps only the largest representation and makes the display size its
    // pixel size.
    void selectLargestRepresentation();

private:
    QList<QImage> m_representations;
    QSizeF m_size;
};
