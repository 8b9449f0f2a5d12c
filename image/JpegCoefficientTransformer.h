// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

// A lossless JPEG transform on libjpeg's coefficient interface that never
// holds a second full set of DCT coefficients: the source's coefficients are
// read whole, and the encoder's rows of the turned image are computed from
// them when it asks for them (again for each pass of a progressive or
// optimised encode). Peak memory is the source coefficients plus the input
// and output bytes.
//
// The result is what libjpeg's own transform writes: baseline with the
// standard Huffman tables (progressive when the source was), no restart
// markers, every APPn and COM segment copied in order (a JFIF or Adobe
// segment replaced by the library's own; an EXIF block first in the file
// keeps the JFIF segment out and gets its pixel dimensions updated).
//
// Any thread; calls are independent.
class JpegCoefficientTransformer {
public:
    // `code` is a JpegTransformCode. Empty when the input is damaged, when
    // its sides are not whole multiples of the MCU, or when it is over a
    // gigapixel (for every code, JXFORM_NONE included).
    static QByteArray transformed(const QByteArray& jpeg, int code);
};
