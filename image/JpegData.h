// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The JPEG section module: splits a JPEG stream into its marker segments,
// lets the EXIF segment be replaced and writes the stream back. Procedural
// and reference counted; every function accepts a null object and then does
// nothing. Objects are not shared between threads. Messages go to the
// object's libexif log under the domain "jpeg-data".
//
// Every offset and length read from the stream is checked against the data
// before use; loading stops at the first problem and keeps the sections read
// so far.

#include <libexif/exif-data.h>
#include <libexif/exif-log.h>

enum JPEGMarker {
    JPEG_MARKER_SOF0 = 0xC0,
    JPEG_MARKER_DHT = 0xC4,
    JPEG_MARKER_SOI = 0xD8,
    JPEG_MARKER_EOI = 0xD9,
    JPEG_MARKER_SOS = 0xDA,
    JPEG_MARKER_APP0 = 0xE0,
    JPEG_MARKER_APP1 = 0xE1,
    JPEG_MARKER_COM = 0xFE,
};

// One marker segment. `exif` is set for an APP1 segment holding EXIF data
// ("Exif\0\0"); every other segment with a payload keeps its bytes as read
// (without the two length bytes), APP1 segments of other kinds (XMP)
// included, so they survive a load and save unchanged.
struct JPEGSection {
    int marker = 0;
    unsigned char* data = nullptr;
    unsigned int size = 0;
    ExifData* exif = nullptr;
};

struct JPEGDataPrivate;

struct JPEGData {
    JPEGSection* sections = nullptr;
    unsigned int count = 0;
    // Entropy-coded data following the start-of-scan header.
    unsigned char* data = nullptr;
    unsigned int size = 0;
    JPEGDataPrivate* priv = nullptr;
};

JPEGData* jpeg_data_new();
JPEGData* jpeg_data_new_from_file(const char* path);
JPEGData* jpeg_data_new_from_data(const unsigned char* bytes, unsigned int size);

void jpeg_data_ref(JPEGData* data);
void jpeg_data_unref(JPEGData* data);
void jpeg_data_free(JPEGData* data);

void jpeg_data_load_data(JPEGData* data, const unsigned char* bytes, unsigned int size);
void jpeg_data_load_file(JPEGData* data, const char* path);
// True when the last load read the whole stream: no corrupt data, no
// truncated segment, and an image scan was found. Rewrites of a file refuse
// anything else, so a damaged file is never cut short.
int jpeg_data_is_complete(JPEGData* data);

// A malloc'ed buffer (release with free()) or null. Null as well when the
// EXIF block does not fit a segment even without its thumbnail.
void jpeg_data_save_data(JPEGData* data, unsigned char** bytes, unsigned int* size);
// 1 on success, 0 on failure (no partial file is left at `path`).
int jpeg_data_save_file(JPEGData* data, const char* path);

void jpeg_data_append_section(JPEGData* data);

// The first EXIF segment's data with one more reference taken; null if none.
ExifData* jpeg_data_get_exif_data(JPEGData* data);
// Replaces the first EXIF segment's data, or inserts an EXIF segment right
// after SOI.
void jpeg_data_set_exif_data(JPEGData* data, ExifData* exif);

void jpeg_data_dump(JPEGData* data);
void jpeg_data_log(JPEGData* data, ExifLog* log);

const char* jpeg_marker_get_name(int marker);
const char* jpeg_marker_get_description(int marker);

// The largest payload a marker segment can carry (its 16-bit length counts
// itself).
inline constexpr unsigned int kJpegMaxSegmentPayload = 65533;
