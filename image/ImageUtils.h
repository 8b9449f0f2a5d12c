// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>

#include <cstdint>

// Image file queries and whole-file transforms. Class-level helpers without
// state: every call works on its own buffers, codecs and temporary names, so
// any thread may call them (the transfer run calls them from its worker). Two rewrites of the same
// file at once are not coordinated.
class ImageUtils {
public:
    // A JPEG (or PNG) by MIME type or extension, else by the file's signature.
    static bool looksLikeJpeg(const QString& path);
    static bool looksLikePng(const QString& path);

    // Pixel size as stored (not turned by the orientation; RAW and HEIF
    // files: upright), read from the header without decoding pixels; (0, 0)
    // when it cannot be read.
    static QSize getImageSize(const QString& path);

    // The capture date of a RAW or HEIF file from its own metadata, else the
    // EXIF DateTimeDigitized (read without decoding pixels), else the
    // file's creation date, else `fallback` (the current time in the first
    // form).
    static QDateTime getCreationDateForImage(const QString& path);
    static QDateTime getCreationDateForImage(const QString& path, const QDateTime& fallback);

    // The upright EXIF thumbnail of an image file, else the file's icon.
    static QImage getThumbnail(const QString& path);

    // Turns or mirrors the file by an ImageTransform code: losslessly for
    // JPEG files whose size allows it, else by re-encoding in the file's own
    // format (JPEG or PNG only). `jpegCompression` is the "jpeg_compression"
    // setting as stored (see JpegCompression.h). The file is replaced
    // atomically; on failure it is left unchanged.
    static bool transformImage(const QString& path, int transform, double jpegCompression);

    // Turns a JPEG file upright by its EXIF orientation, losslessly only.
    // True without touching the file when it is upright already; false, file
    // unchanged, for non-JPEG files, a missing orientation or a size the
    // lossless transform refuses.
    static bool autoLosslessRotateImage(const QString& path);

    // The JpegTransformCode that turns a JPEG file upright by its EXIF
    // orientation: JXFORM_NONE when it is upright already, -1 for non-JPEG
    // files and a missing or unreadable orientation.
    static int uprightTransformFor(const QString& path);

    // JPEG bytes transformed losslessly by a JpegTransformCode, with the EXIF
    // orientation set to 1 and the EXIF thumbnail regenerated, all in
    // memory. Empty when the transform is refused or the EXIF block cannot
    // be written back.
    static QByteArray losslesslyTransformed(const QByteArray& jpeg, int code);

    // Finishes a transform of `source` written to `transformed`: optionally
    // copies the source's EXIF block, writes `orientation` (when not 0),
    // regenerates the EXIF thumbnail and puts the result in place of the
    // source, keeping its creation date where the file system allows.
    static bool finalizeTransformOf(const QString& source, const QString& transformed,
                                    bool copyExifData, std::uint8_t orientation);
};
