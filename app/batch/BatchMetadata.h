// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LibexifHandles.h"
#include "PictureMetadata.h"

#include <QByteArray>
#include <QImage>

#include <optional>

// What a batch run carries from a source picture into its output besides
// the pixels: the EXIF block of a JPEG and the colour (ICC) profile, and
// how both are put into the encoded output. Any thread, one object per
// picture.
class BatchMetadata {
public:
    BatchMetadata() = default;

    // The EXIF block and the ICC profile of JPEG bytes, read from the
    // marker segments before the first scan.
    static BatchMetadata fromJpeg(const QByteArray& jpeg);
    // An EXIF block as a JPEG's APP1 segment carries it ("Exif\0\0", then
    // TIFF: a HEIF file's) and an ICC profile.
    static BatchMetadata fromBlocks(const QByteArray& exif, const QByteArray& iccProfile);
    // An EXIF block made from what a RAW file says of itself (capture
    // date, camera, exposure), so its output keeps them.
    static BatchMetadata fromPictureMetadata(const PictureMetadata& picture);

    bool hasExif() const { return m_exif != nullptr; }
    // IFD 0's orientation, 1 to 8; 0 when there is none.
    int orientation() const;

    const QByteArray& iccProfile() const { return m_iccProfile; }
    void setIccProfile(const QByteArray& profile) { m_iccProfile = profile; }

    // The EXIF block (an APP1 payload) describing `picture`, the upright
    // output: orientation 1, the picture's pixel size, and a thumbnail made
    // from it. Empty without EXIF; nothing when the block cannot be made
    // to fit one segment even without its thumbnail. Edits the block held.
    std::optional<QByteArray> exifFor(const QImage& picture);

    // `encoded` (a JPEG stream as an encoder writes it) with the EXIF block
    // and the ICC profile (APP2 chunks) right after SOI and any JFIF
    // segment. An empty argument adds nothing; a profile too large for 255
    // chunks is left out.
    static QByteArray jpegWith(const QByteArray& encoded, const QByteArray& exif,
                               const QByteArray& iccProfile);

    // `encoded` (a PNG stream) with the ICC profile as an iCCP chunk after
    // the header chunk; `encoded` itself without a profile.
    static QByteArray pngWith(const QByteArray& encoded, const QByteArray& iccProfile);

private:
    ExifDataPtr m_exif;
    QByteArray m_iccProfile;
};
