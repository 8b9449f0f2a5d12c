// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "PictureMetadata.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>

#include <memory>

struct heif_context;
struct heif_image_handle;

// A HEIF/HEIC file read through libheif, its primary picture only, with the
// image size limit set and declared sizes checked (DecodeLimits) before any
// decode. libheif applies the file's own rotation and mirroring while
// decoding, so pictures come out upright and the EXIF orientation, which
// describes the same turn, is never applied on top. One instance per
// thread; any thread.
class HeifPictureReader {
public:
    explicit HeifPictureReader(const QString& path);
    // Reads from the bytes, which the reader keeps (shared, not copied).
    explicit HeifPictureReader(const QByteArray& bytes);
    ~HeifPictureReader();
    HeifPictureReader(const HeifPictureReader&) = delete;
    HeifPictureReader& operator=(const HeifPictureReader&) = delete;

    // At least the 12 bytes of the file type box name a HEIF brand.
    static bool looksLikeHeif(const QByteArray& head);

    bool isValid() const { return m_primary != nullptr; }

    // The primary picture's size, upright.
    QSize size() const;
    // Size upright; date, camera and exposure from the EXIF block.
    PictureMetadata metadata() const;
    // The EXIF block as a JPEG carries it ("Exif\0\0", then TIFF); empty
    // when there is none.
    QByteArray exifBlock() const;
    // The primary picture's ICC colour profile; empty when it has none.
    QByteArray iccProfile() const;

    // The primary picture upright: its stored thumbnail when that covers
    // `atLeast` (an invalid size asks for the full picture), else the
    // picture itself. `fromThumbnail` tells which. Null on failure.
    QImage decoded(const QSize& atLeast, bool* fromThumbnail = nullptr) const;

private:
    void open(heif_context* context, bool read);

    QByteArray m_bytes;
    std::shared_ptr<heif_context> m_context;
    std::shared_ptr<const heif_image_handle> m_primary;
};
