// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <libexif/exif-data.h>

#include <memory>
#include <string>
#include <vector>

// Builds the EXIF block of a generated JPEG file through libexif, for the
// test fixtures and the benchmark corpus alike. Plain C++, no Qt.
class ExifBuilder {
public:
    explicit ExifBuilder(ExifByteOrder order = EXIF_BYTE_ORDER_INTEL);
    // Takes over `data` (one reference).
    explicit ExifBuilder(ExifData* data);

    void addEntry(ExifIfd ifd, ExifTag tag, ExifFormat format, const void* bytes,
                  unsigned int components, unsigned int size);
    void addText(ExifIfd ifd, ExifTag tag, const std::string& text);
    void addShort(ExifIfd ifd, ExifTag tag, int value);
    // A JPEG thumbnail; libexif writes IFD 1's offset and length itself.
    void setThumbnail(const std::vector<unsigned char>& jpeg);

    ExifData* data() const { return m_exif.get(); }
    // Hands the data (one reference) to the caller, who unrefs it.
    ExifData* release() { return m_exif.release(); }
    // The APP1 payload ("Exif\0\0" and the TIFF structure).
    std::vector<unsigned char> payload() const;

    // SOI, an APP1 segment holding `payload`, then the segments of `jpeg`
    // after its SOI without its JFIF APP0, so the EXIF segment comes first,
    // as cameras write it. Empty when `jpeg` is no JPEG or the payload does
    // not fit a segment.
    static std::vector<unsigned char> withApp1(const std::vector<unsigned char>& jpeg,
                                               const std::vector<unsigned char>& payload);

private:
    struct Unref {
        void operator()(ExifData* data) const { exif_data_unref(data); }
    };
    std::unique_ptr<ExifData, Unref> m_exif;
    ExifByteOrder m_byteOrder;
};
