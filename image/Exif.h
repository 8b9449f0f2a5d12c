// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LibexifHandles.h"

#include <QByteArray>
#include <QDateTime>
#include <QImage>
#include <QString>

// EXIF access for one file, plus class-level helpers that read the
// thumbnail, regenerate it, strip or copy a whole EXIF block. No shared
// state: any thread may use its own objects and call the helpers. Rewrites
// go through a temporary file beside the target and an atomic rename.
class Exif {
public:
    // Loads the file's EXIF data; the object may hold none.
    explicit Exif(const QString& path);
    // Takes over data parsed elsewhere (a HEIF file's EXIF block); may be null.
    explicit Exif(ExifDataPtr parsed);
    ~Exif();
    Exif(const Exif&) = delete;
    Exif& operator=(const Exif&) = delete;

    bool hasExifData() const { return m_parsedExif != nullptr; }
    // The parsed data (libexif's ExifData), owned by this object; null when
    // the file has no readable EXIF block.
    _ExifData* exifData() const { return m_parsedExif.get(); }

    // The tag's text as libexif renders it, searching IFD 0, IFD 1, EXIF,
    // GPS and Interoperability in that order. Null when absent or when the
    // text is not valid UTF-8.
    QString getTagValue(int tag) const;

    // The embedded thumbnail, turned upright by the file's orientation and
    // at most 256 pixels on its longer side; null when there is none.
    static QImage getExifThumbnail(const QString& path);

    // Regenerates the embedded thumbnail of a JPEG file from its pixels
    // (decoded at a reduced scale) in a 160x120, 120x160 or 140x140 box.
    // The file is replaced atomically; untouched on failure. An EXIF block
    // too large for its segment goes without a thumbnail.
    static bool updateExifThumbnail(const QString& path);

    // JPEG bytes with their EXIF block rebuilt: the orientation tags of IFD 0
    // and of the thumbnail's IFD 1 set to `orientation` (0 leaves them) and
    // a new thumbnail in the box above. With `oldThumbnailTransform` (a
    // JpegTransformCode the pixels were just transformed by) the old
    // thumbnail is turned the same way, which spares decoding the pixels;
    // with -1, or when there is no readable old one, the thumbnail is made
    // from the pixels. When neither works the old one stays
    // (`thumbnailRegenerated` tells). Bytes without an EXIF block come back
    // unchanged. Empty when the stream is damaged or the block cannot be
    // written back.
    static QByteArray withUpdatedExif(const QByteArray& jpeg, int orientation,
                                      int oldThumbnailTransform = -1,
                                      bool* thumbnailRegenerated = nullptr);

    // "yyyy:MM:dd HH:mm:ss" in local time; null for anything else.
    static QDateTime parseExifDate(const QString& text);

    // IFD 0's orientation (1 to 8) of parsed EXIF data; 0 when absent,
    // unreadable or without data.
    static int orientationOf(_ExifData* data);

    // Replaces a JPEG file's EXIF block by an empty one. False, file
    // unchanged, when the file is no JPEG or cannot be rewritten.
    static bool trimExifData(const QString& path);

    // Puts the source's whole EXIF block into the JPEG file `destination`.
    // False, destination unchanged, when the source has none or the
    // destination cannot be rewritten.
    static bool copyExifDataFromPath(const QString& source, const QString& destination);

private:
    ExifDataPtr m_parsedExif;
};
