// SPDX-License-Identifier: GPL-3.0-or-later
#include "TiffReader.h"

#include <iterator>

namespace {

constexpr std::size_t kHeaderSize = 8;
constexpr std::size_t kEntrySize = 12;

void store(std::uint8_t* at, std::uint32_t value, int bytes, ByteOrder order) {
    for (int index = 0; index < bytes; ++index) {
        const int shift = 8 * (order == ByteOrder::Little ? index : bytes - 1 - index);
        at[index] = std::uint8_t((value >> shift) & 0xFF);
    }
}

} // namespace

TiffReader::TiffReader(std::span<const std::uint8_t> data)
    : m_reader(data) {
    if (data.size() < kHeaderSize || data[0] != data[1])
        return;
    if (data[0] == 'I')
        m_order = ByteOrder::Little;
    else if (data[0] != 'M')
        return;
    m_valid = m_reader.u16At(2, m_order) == 42;
}

std::optional<TiffReader::Ifd> TiffReader::firstIfd() {
    if (!m_valid)
        return std::nullopt;
    const auto offset = m_reader.u32At(4, m_order);
    return offset ? ifdAt(*offset) : std::nullopt;
}

std::optional<TiffReader::Ifd> TiffReader::ifdAt(std::uint64_t offset) {
    if (!m_valid || offset < kHeaderSize || m_visitedCount == kMaxIfds)
        return std::nullopt;
    const auto count = m_reader.u16At(offset, m_order);
    // 64-bit arithmetic: offset + 2 + 12 * 65535 cannot wrap.
    if (!count || !m_reader.contains(offset + 2, kEntrySize * std::uint64_t(*count)))
        return std::nullopt;
    const Range range{offset, offset + 2 + kEntrySize * *count + 4};
    for (int index = 0; index < m_visitedCount; ++index)
        if (range.begin < m_visited[index].end && m_visited[index].begin < range.end)
            return std::nullopt;
    m_visited[m_visitedCount++] = range;
    return Ifd{std::size_t(offset), *count};
}

std::optional<std::uint32_t> TiffReader::nextIfdOffset(const Ifd& ifd) const {
    return m_reader.u32At(ifd.linkOffset(), m_order);
}

std::optional<TiffReader::Ifd> TiffReader::nextIfd(const Ifd& ifd) {
    const auto link = nextIfdOffset(ifd);
    return link && *link != 0 ? ifdAt(*link) : std::nullopt;
}

std::optional<TiffReader::Ifd> TiffReader::subIfd(const Entry& pointer) {
    const auto offset = m_reader.u32At(pointer.offset + 8, m_order);
    return offset ? ifdAt(*offset) : std::nullopt;
}

std::optional<TiffReader::Entry> TiffReader::entry(const Ifd& ifd, unsigned index) const {
    if (index >= ifd.count)
        return std::nullopt;
    const std::size_t at = ifd.offset + 2 + kEntrySize * index;
    const auto tag = m_reader.u16At(at, m_order);
    const auto type = m_reader.u16At(at + 2, m_order);
    const auto count = m_reader.u32At(at + 4, m_order);
    if (!tag || !type || !count)
        return std::nullopt;
    return Entry{at, *tag, *type, *count};
}

std::optional<TiffReader::Entry> TiffReader::findEntry(const Ifd& ifd, std::uint16_t tag) const {
    for (unsigned index = 0; index < ifd.count; ++index) {
        const std::size_t at = ifd.offset + 2 + kEntrySize * index;
        if (m_reader.u16At(at, m_order) == tag)
            return entry(ifd, index);
    }
    return std::nullopt;
}

std::optional<std::size_t> TiffReader::valueOffset(const Entry& entry) const {
    const unsigned unit = typeSize(entry.type);
    if (unit == 0)
        return std::nullopt;
    // Up to 8 * (2^32 - 1): no overflow in 64 bits.
    const std::uint64_t size = std::uint64_t(unit) * entry.count;
    if (size <= 4)
        return entry.offset + 8;
    const auto offset = m_reader.u32At(entry.offset + 8, m_order);
    if (!offset || !m_reader.contains(*offset, size))
        return std::nullopt;
    return std::size_t(*offset);
}

unsigned TiffReader::typeSize(std::uint16_t type) {
    // BYTE ASCII SHORT LONG RATIONAL SBYTE UNDEFINED SSHORT SLONG SRATIONAL
    // FLOAT DOUBLE IFD
    constexpr unsigned sizes[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
    return type < std::size(sizes) ? sizes[type] : 0;
}

std::array<std::uint8_t, 12> TiffReader::singleValueEntry(std::uint16_t tag, std::uint16_t type,
                                                          std::uint32_t value) const {
    std::array<std::uint8_t, 12> bytes{};
    store(bytes.data(), tag, 2, m_order);
    store(bytes.data() + 2, type, 2, m_order);
    store(bytes.data() + 4, 1, 4, m_order);
    // A value shorter than four bytes sits at the start of the field.
    store(bytes.data() + 8, value, type == Short ? 2 : 4, m_order);
    return bytes;
}
