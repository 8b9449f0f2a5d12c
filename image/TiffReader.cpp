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
    : reader(data) {
    if (data.size() < kHeaderSize || data[0] != data[1])
        return;
    if (data[0] == 'I')
        order = ByteOrder::Little;
    else if (data[0] != 'M')
        return;
    valid = reader.u16At(2, order) == 42;
}

std::optional<TiffReader::Ifd> TiffReader::firstIfd() {
    if (!valid)
        return std::nullopt;
    const auto offset = reader.u32At(4, order);
    return offset ? ifdAt(*offset) : std::nullopt;
}

std::optional<TiffReader::Ifd> TiffReader::ifdAt(std::uint64_t offset) {
    if (!valid || offset < kHeaderSize || visitedCount == kMaxIfds)
        return std::nullopt;
    const auto count = reader.u16At(offset, order);
    // 64-bit arithmetic: offset + 2 + 12 * 65535 cannot wrap.
    if (!count || !reader.contains(offset + 2, kEntrySize * std::uint64_t(*count)))
        return std::nullopt;
    const Range range{offset, offset + 2 + kEntrySize * *count + 4};
    for (int index = 0; index < visitedCount; ++index)
        if (range.begin < visited[index].end && visited[index].begin < range.end)
            return std::nullopt;
    visited[visitedCount++] = range;
    return Ifd{std::size_t(offset), *count};
}

std::optional<std::uint32_t> TiffReader::nextIfdOffset(const Ifd& ifd) const {
    return reader.u32At(ifd.linkOffset(), order);
}

std::optional<TiffReader::Ifd> TiffReader::nextIfd(const Ifd& ifd) {
    const auto link = nextIfdOffset(ifd);
    return link && *link != 0 ? ifdAt(*link) : std::nullopt;
}

std::optional<TiffReader::Ifd> TiffReader::subIfd(const Entry& pointer) {
    const auto offset = reader.u32At(pointer.offset + 8, order);
    return offset ? ifdAt(*offset) : std::nullopt;
}

std::optional<TiffReader::Entry> TiffReader::entry(const Ifd& ifd, unsigned index) const {
    if (index >= ifd.count)
        return std::nullopt;
    const std::size_t at = ifd.offset + 2 + kEntrySize * index;
    const auto tag = reader.u16At(at, order);
    const auto type = reader.u16At(at + 2, order);
    const auto count = reader.u32At(at + 4, order);
    if (!tag || !type || !count)
        return std::nullopt;
    return Entry{at, *tag, *type, *count};
}

std::optional<TiffReader::Entry> TiffReader::findEntry(const Ifd& ifd, std::uint16_t tag) const {
    for (unsigned index = 0; index < ifd.count; ++index) {
        const std::size_t at = ifd.offset + 2 + kEntrySize * index;
        if (reader.u16At(at, order) == tag)
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
    const auto offset = reader.u32At(entry.offset + 8, order);
    if (!offset || !reader.contains(*offset, size))
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
    store(bytes.data(), tag, 2, order);
    store(bytes.data() + 2, type, 2, order);
    store(bytes.data() + 4, 1, 4, order);
    // A value shorter than four bytes sits at the start of the field.
    store(bytes.data() + 8, value, type == Short ? 2 : 4, order);
    return bytes;
}
