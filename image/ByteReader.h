// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

enum class ByteOrder { Big, Little };

// A cursor over bytes that are not ours and not trusted. Every read is
// checked against the end: a read that does not fit returns nothing and
// leaves the cursor where it was. Offsets are 64-bit so that an offset plus
// a count read from a file cannot wrap around.
class ByteReader {
public:
    ByteReader() = default;
    explicit ByteReader(std::span<const std::uint8_t> data)
        : m_bytes(data) {}

    std::span<const std::uint8_t> data() const { return m_bytes; }
    std::size_t size() const { return m_bytes.size(); }
    std::size_t position() const { return m_cursor; }
    std::size_t remaining() const { return m_bytes.size() - m_cursor; }
    bool atEnd() const { return m_cursor == m_bytes.size(); }

    // True when `count` bytes from `offset` lie within the data.
    bool contains(std::uint64_t offset, std::uint64_t count) const {
        return offset <= m_bytes.size() && count <= m_bytes.size() - offset;
    }

    // Moving to the end itself is allowed; past it is not.
    bool seek(std::uint64_t offset);
    bool skip(std::uint64_t count) { return seek(std::uint64_t(m_cursor) + count); }

    std::optional<std::uint8_t> readByte();
    std::optional<std::uint16_t> readU16(ByteOrder order);
    std::optional<std::uint32_t> readU32(ByteOrder order);
    std::optional<std::span<const std::uint8_t>> readSpan(std::uint64_t count);

    // Random access; the cursor stays.
    std::optional<std::uint16_t> u16At(std::uint64_t offset, ByteOrder order) const;
    std::optional<std::uint32_t> u32At(std::uint64_t offset, ByteOrder order) const;
    std::optional<std::span<const std::uint8_t>> spanAt(std::uint64_t offset,
                                                        std::uint64_t count) const;

private:
    std::span<const std::uint8_t> m_bytes;
    std::size_t m_cursor = 0;
};
