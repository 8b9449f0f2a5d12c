// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegSegmentReader.h"

namespace {

constexpr int kTem = 0x01;
constexpr int kEoi = 0xD9;
constexpr int kSos = 0xDA;

} // namespace

JpegSegmentReader::JpegSegmentReader(std::span<const std::uint8_t> bytes, std::size_t start)
    : reader(bytes) {
    if (!reader.seek(start))
        state = Status::Truncated;
}

bool JpegSegmentReader::isStandalone(int marker) {
    return marker == kTem || (marker >= 0xD0 && marker <= kEoi); // RSTn, SOI, EOI
}

std::optional<JpegSegmentReader::Segment> JpegSegmentReader::next() {
    if (state != Status::Reading)
        return std::nullopt;
    Segment segment;
    segment.offset = reader.position();
    const auto prefix = reader.readByte();
    if (!prefix) {
        state = Status::Truncated;
        return std::nullopt;
    }
    if (*prefix != 0xFF) {
        state = Status::Malformed;
        return std::nullopt;
    }
    std::optional<std::uint8_t> marker;
    do
        marker = reader.readByte();
    while (marker && *marker == 0xFF);
    if (!marker) {
        state = Status::Truncated;
        return std::nullopt;
    }
    // 0x00 is a stuffed data byte, 0x02 to 0xBF are reserved: no marker here.
    if (*marker != kTem && *marker < 0xC0) {
        state = Status::Malformed;
        return std::nullopt;
    }
    segment.marker = *marker;
    if (!isStandalone(segment.marker)) {
        const auto length = reader.readU16(ByteOrder::Big);
        if (!length) {
            state = Status::Truncated;
            return std::nullopt;
        }
        if (*length < 2) {
            state = Status::Malformed;
            return std::nullopt;
        }
        const auto payload = reader.readSpan(*length - 2u);
        if (!payload) {
            state = Status::Truncated;
            return std::nullopt;
        }
        segment.payload = *payload;
    }
    segment.end = reader.position();
    if (segment.marker == kSos)
        state = Status::Scan;
    else if (segment.marker == kEoi)
        state = Status::End;
    return segment;
}
