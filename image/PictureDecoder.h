// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <functional>

// The one way from a picture file to pixels: given a path and the size
// wanted, the upright picture at that size where the source is that large,
// from the cheapest source that is good enough, in this order: the EXIF
// thumbnail (when the request allows it), a RAW file's embedded preview, a
// JPEG decoded at the smallest DCT scale, libheif, a RAW file demosaiced
// (only when its preview is too small), Qt's readers. Declared sizes are
// checked before each decode (DecodeLimits), so a damaged or hostile file
// yields a null picture, never a crash or a huge allocation. Any thread.
class PictureDecoder {
public:
    enum class Format { Unknown, Other, Jpeg, Raw, Heif };
    enum class Source { None, ExifThumbnail, RawPreview, ScaledJpeg, Heif, RawDemosaic, QtReader };
    enum class Failure {
        None,
        NotAPicture, // no reader knows the bytes
        TooLarge,    // the declared size or complexity is beyond DecodeLimits
        Refused,     // `Request::pixelsFor` declined the original's size
        Damaged,     // the header reads, the pixels do not
    };

    struct Request {
        // The longer side wanted: the picture comes back at most this size
        // and at least this size where the source is as large. 0: full size.
        int pixels = 0;
        // The EXIF thumbnail may serve whatever its size (the browser's
        // grid); else it is skipped.
        bool exifThumbnail = false;
        // A RAW file whose preview is smaller than asked for is demosaiced;
        // else its preview serves as it is.
        bool demosaicRaw = true;
        // A RAW file's preview whose longer side is at least this serves
        // even when it is smaller than `pixels` (the screen's size, while
        // `pixels` leaves room to zoom); 0: only a preview that covers it.
        int rawPreviewSuffices = 0;
        // Only what the file carries ready-made: its EXIF thumbnail or a
        // RAW file's embedded preview; never a decode of the picture itself.
        bool embeddedOnly = false;
        // False: a JPEG comes back as stored and `Result::orientation` says
        // how to turn it upright (turning after resizing is cheaper). Other
        // sources come back upright.
        bool upright = true;
        // False: the picture comes back from the cheapest decode that covers
        // `pixels` (a DCT scale, a preview), not scaled down to it, for a
        // caller that resizes with its own filter.
        bool fitExactly = true;
        // When set, chooses `pixels` once the original's upright size is
        // read from the file (a resize by percent needs it); a negative
        // answer refuses the picture. Not asked for an EXIF thumbnail.
        std::function<int(const QSize& upright)> pixelsFor;
    };

    struct Result {
        QImage image;
        Source source = Source::None;
        // The upright size of the original where the way taken reads it.
        QSize originalSize;
        // The EXIF orientation still to apply: 1 unless `upright` was off.
        int orientation = 1;
        Failure failure = Failure::None;
    };

    // RAW and HEIF by name alone (FileUtils' lists), without touching the
    // file; Unknown for any other name.
    static Format formatByName(const QString& path);
    // RAW and HEIF by name, then JPEG and HEIF by content.
    static Format formatOf(const QString& path);
    // By content alone (for bytes without a name): JPEG, HEIF, a TIFF
    // structure (tried as RAW), else Other.
    static Format formatOf(const QByteArray& head);
    // RAW and HEIF by name, then JPEG and HEIF by the head already read.
    static Format formatOf(const QString& path, const QByteArray& head);

    // `format`, when known, spares the test by name (a path opened through
    // OpenedPath has none).
    static Result decode(const QString& path, const Request& request,
                         Format format = Format::Unknown);
    static Result decode(const QByteArray& bytes, const Request& request,
                         Format format = Format::Unknown);

    // `image` scaled down so its longer side is at most max(pixels, 1); never
    // scaled up.
    static QImage scaledToFit(const QImage& image, int pixels);
};
