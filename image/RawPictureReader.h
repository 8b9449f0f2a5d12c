// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PictureMetadata.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

class LibRaw;

// A camera RAW file read through libraw with its memory limit set and every
// declared size checked (DecodeLimits) before libraw allocates for it.
// Opening parses the file's structure only; the embedded preview and the
// raw data are read on request. One instance per thread; any thread.
class RawPictureReader {
public:
    explicit RawPictureReader(const QString& path);
    // Reads from the bytes, which the reader keeps (shared, not copied).
    explicit RawPictureReader(const QByteArray& bytes);
    ~RawPictureReader();
    RawPictureReader(const RawPictureReader&) = delete;
    RawPictureReader& operator=(const RawPictureReader&) = delete;

    // libraw took the file for a RAW file it can read.
    bool isValid() const { return m_valid; }

    PictureMetadata metadata() const;
    // The EXIF orientation (1 to 8) the stored pixels and the preview need.
    int orientation() const;
    // The embedded preview's declared size, upright; invalid when there is
    // none.
    QSize previewSize() const;

    // The embedded preview, upright: a JPEG decoded at the smallest DCT
    // scale covering `atLeast` (upright), or a bitmap. Null when there is
    // none or it cannot be read; never touches the raw data.
    QImage embeddedPreview(const QSize& atLeast);
    // The raw data demosaiced, upright: at half size when that still covers
    // `atLeast` (an invalid size asks for the full size). Null on failure.
    QImage demosaiced(const QSize& atLeast);

private:
    // Opens (again: libraw keeps nothing readable after a failed unpack)
    // from the path or the bytes.
    void open();

    QString m_path;
    QByteArray m_bytes; // what an open buffer reads from; outlives m_raw
    std::unique_ptr<LibRaw> m_raw;
    bool m_valid = false;
    bool m_unpackFailed = false;
};
