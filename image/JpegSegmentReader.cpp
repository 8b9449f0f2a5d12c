// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegSegmentReader.h"

namespace {

constexpr int kTem = 0x01;
constexpr int kEoi = 0xD9;
constexpr int kSos = 0xDA;

} // namespace

JpegSegmentReader::JpegSegmentReader(std::span<const std::uint8_t> bytes, std::size_t start)
    : m_reader(bytes) {
    if (!m_reader.seek(start))
        m_state = Status::Truncated;
}

bool JpegSegmentReader::isStandalone(int marker) {
    return marker == kTem || (marker >= 0xD0 && marker <= kEoi); // RSTn, SOI, EOI
}

std::optional<JpegSegmentReader::Segment> JpegSegmentReader::next() {
    if (m_state != Status::Reading)
        return std::nullopt;
    Segment segment;
    segment.offset = m_reader.position();
    const auto prefix = m_reader.readByte();
    if (!prefix) {
        m_state = Status::Truncated;
        return std::nullopt;
    }
    if (*prefix != 0xFF) {
        m_state = Status::Malformed;
        return std::nullopt;
    }
    std::optional<std::uint8_t> marker;
    do
        marker = m_reader.readByte();
    while (marker && *marker == 0xFF);
    if (!marker) {
        m_state = Status::Truncated;
        return std::nullopt;
    }
    // 0x00 is a stuffed data byte, 0x02 to 0xBF are reserved: no marker here.
    if (*marker != kTem && *marker < 0xC0) {
        m_state = Status::Malformed;
        return std::nullopt;
    }
    segment.marker = *marker;
    if (!isStandalone(segment.marker)) {
        const auto length = m_reader.readU16(ByteOrder::Big);
        if (!length) {
            m_state = Status::Truncated;
            return std::nullopt;
        }
        if (*length < 2) {
            m_state = Status::Malformed;
            return std::nullopt;
        }
        const auto payload = m_reader.readSpan(*length - 2u);
        if (!payload) {
            m_state = Status::Truncated;
            return std::nullopt;
        }
        segment.payload = *payload;
    }
    segment.end = m_reader.position();
    if (segment.marker == kSos)
        m_state = Status::Scan;
    else if (segment.marker == kEoi)
        m_state = Status::End;
    return segment;
}
