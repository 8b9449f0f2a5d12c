// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ByteReader.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// Walks the marker segments of a JPEG stream, one at a time, up to the start
// of scan. Fill bytes (extra 0xFF) before a marker are skipped; SOI, EOI,
// RSTn and TEM stand alone, every other marker carries a big-endian length
// that counts itself. The walk stops for good after SOS (the entropy-coded
// data that follows is no segment), after EOI, when the bytes run out, and
// at the first malformed marker or length; status() tells which.
class JpegSegmentReader {
public:
    struct Segment {
        int marker = 0;
        // Where the segment begins (its first 0xFF, fill bytes included).
        std::size_t offset = 0;
        // The bytes after the length; empty for a standalone marker.
        std::span<const std::uint8_t> payload;
        // Just past the segment: for SOS, where the entropy-coded data starts.
        std::size_t end = 0;
    };

    enum class Status {
        Reading,   // more segments may follow
        Scan,      // the last segment returned was SOS
        End,       // the last segment returned was EOI
        Truncated, // the bytes ended before another whole segment
        Malformed, // no marker where one belongs, or a length below two
    };

    explicit JpegSegmentReader(std::span<const std::uint8_t> bytes, std::size_t start = 0);

    // The next segment; empty once the walk has stopped.
    std::optional<Segment> next();
    Status status() const { return m_state; }

    // Markers without a length: SOI, EOI, RST0 to RST7 and TEM.
    static bool isStandalone(int marker);

private:
    ByteReader m_reader;
    Status m_state = Status::Reading;
};
