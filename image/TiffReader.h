// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteReader.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// Reads a TIFF structure (a TIFF file's head, or an EXIF block after its
// "Exif\0\0" header): the byte order from "II" or "MM" and 42, the image
// file directories and their 12-byte entries. Every offset taken from the
// data is checked against it before use. An IFD is only handed out when its
// count and all its entries lie within the data, and never twice: one that
// overlaps an IFD this reader already returned (a link into itself, a loop
// back) is refused, so following links always ends.
class TiffReader {
public:
    struct Ifd {
        std::size_t offset = 0; // of the entry count
        std::uint16_t count = 0;
        // Where the link to the next IFD sits, right after the entries.
        std::size_t linkOffset() const { return offset + 2 + 12 * std::size_t(count); }
    };

    struct Entry {
        std::size_t offset = 0; // of the 12-byte entry
        std::uint16_t tag = 0;
        std::uint16_t type = 0;
        std::uint32_t count = 0;
    };

    // The value types this code writes.
    enum Type : std::uint16_t { Short = 3, Long = 4 };

    explicit TiffReader(std::span<const std::uint8_t> data);

    bool isValid() const { return m_valid; }
    ByteOrder byteOrder() const { return m_order; }
    const ByteReader& bytes() const { return m_reader; }

    // IFD 0, as the header names it.
    std::optional<Ifd> firstIfd();
    // The IFD at `offset`; empty when it lies in the header, runs past the
    // data or overlaps one returned before.
    std::optional<Ifd> ifdAt(std::uint64_t offset);
    // The link after the IFD's entries: 0 ends the chain. Empty when the
    // link itself lies past the data.
    std::optional<std::uint32_t> nextIfdOffset(const Ifd& ifd) const;
    // The IFD the link names; empty at the end of the chain or when the link
    // is damaged.
    std::optional<Ifd> nextIfd(const Ifd& ifd);
    // The IFD an entry such as the EXIF or GPS pointer names in its value.
    std::optional<Ifd> subIfd(const Entry& pointer);

    std::optional<Entry> entry(const Ifd& ifd, unsigned index) const;
    std::optional<Entry> findEntry(const Ifd& ifd, std::uint16_t tag) const;

    // Where the entry's value lies: inside the entry when it fits four
    // bytes, else at the offset the entry holds. Empty for an unknown type
    // or a value that does not lie wholly within the data.
    std::optional<std::size_t> valueOffset(const Entry& entry) const;
    // Bytes per value of a type; 0 for an unknown type.
    static unsigned typeSize(std::uint16_t type);

    // A 12-byte entry in this structure's byte order holding one value of
    // `type` (a Short or Long), for patching an entry in place.
    std::array<std::uint8_t, 12> singleValueEntry(std::uint16_t tag, std::uint16_t type,
                                                  std::uint32_t value) const;

    // IFDs handed out by one reader; a structure needing more is refused.
    static constexpr int kMaxIfds = 16;

private:
    struct Range {
        std::uint64_t begin = 0;
        std::uint64_t end = 0;
    };

    ByteReader m_reader;
    ByteOrder m_order = ByteOrder::Big;
    bool m_valid = false;
    std::array<Range, kMaxIfds> m_visited{};
    int m_visitedCount = 0;
};
