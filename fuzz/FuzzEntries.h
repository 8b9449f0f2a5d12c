// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>

// One entry per parser of untrusted bytes, shared by the libFuzzer targets
// and the regression test that runs them over corrupt inputs under ASan.
// Each returns 0 and must never read or write out of bounds.
namespace FuzzEntries {

// The JPEG section module: split, query, serialise and split again.
int jpegSections(const std::uint8_t* data, std::size_t size);

// exif_orient on the bytes as a file: read, then patch a copy in place (the
// file must keep its size).
int exifOrient(const std::uint8_t* data, std::size_t size);

// EXIF reading: every tag the application reads, the thumbnail, the date,
// and libexif parsing of the bytes as an EXIF block.
int exifRead(const std::uint8_t* data, std::size_t size);

// The shared readers on their own: the JPEG segment walk, then the TIFF
// walk (IFD chain, sub-IFDs, entry values) over each EXIF segment and over
// the bytes as a TIFF file. Aborts when a segment or value reported lies
// outside the input or the walks do not end.
int byteReader(const std::uint8_t* data, std::size_t size);

// The browser's thumbnail maker over the bytes as a picture file: EXIF
// thumbnail, DCT-scaled JPEG decode, Qt's readers, each after its size check.
int thumbnail(const std::uint8_t* data, std::size_t size);

// The picture decoder over the bytes as a RAW file (libraw: metadata,
// embedded preview, demosaicing of small sensors) and as a HEIF file
// (libheif: metadata, EXIF block, thumbnail and primary decode).
int pictureDecoder(const std::uint8_t* data, std::size_t size);

// The thumbnail cache's PNG decoder over the bytes as a cache entry.
int thumbnailPng(const std::uint8_t* data, std::size_t size);

} // namespace FuzzEntries
