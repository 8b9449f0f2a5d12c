// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteReader.h"

namespace {

std::uint16_t decode16(const std::uint8_t* p, ByteOrder order) {
    return order == ByteOrder::Big ? std::uint16_t((p[0] << 8) | p[1])
                                   : std::uint16_t((p[1] << 8) | p[0]);
}

std::uint32_t decode32(const std::uint8_t* p, ByteOrder order) {
    const std::uint32_t first = decode16(p, order), second = decode16(p + 2, order);
    return order == ByteOrder::Big ? (first << 16) | second : (second << 16) | first;
}

} // namespace

bool ByteReader::seek(std::uint64_t offset) {
    if (offset > m_bytes.size())
        return false;
    m_cursor = std::size_t(offset);
    return true;
}

std::optional<std::uint8_t> ByteReader::readByte() {
    if (atEnd())
        return std::nullopt;
    return m_bytes[m_cursor++];
}

std::optional<std::uint16_t> ByteReader::readU16(ByteOrder order) {
    const auto value = u16At(m_cursor, order);
    if (value)
        m_cursor += 2;
    return value;
}

std::optional<std::uint32_t> ByteReader::readU32(ByteOrder order) {
    const auto value = u32At(m_cursor, order);
    if (value)
        m_cursor += 4;
    return value;
}

std::optional<std::span<const std::uint8_t>> ByteReader::readSpan(std::uint64_t count) {
    const auto span = spanAt(m_cursor, count);
    if (span)
        m_cursor += span->size();
    return span;
}

std::optional<std::uint16_t> ByteReader::u16At(std::uint64_t offset, ByteOrder order) const {
    if (!contains(offset, 2))
        return std::nullopt;
    return decode16(m_bytes.data() + offset, order);
}

std::optional<std::uint32_t> ByteReader::u32At(std::uint64_t offset, ByteOrder order) const {
    if (!contains(offset, 4))
        return std::nullopt;
    return decode32(m_bytes.data() + offset, order);
}

std::optional<std::span<const std::uint8_t>> ByteReader::spanAt(std::uint64_t offset,
                                                                std::uint64_t count) const {
    if (!contains(offset, count))
        return std::nullopt;
    return m_bytes.subspan(std::size_t(offset), std::size_t(count));
}
