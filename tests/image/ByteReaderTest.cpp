// SPDX-License-Identifier: GPL-3.0-or-later
#include "ByteReader.h"
#include "JpegSegmentReader.h"
#include "TiffReader.h"

#include <QByteArray>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>

namespace {

std::span<const std::uint8_t> bytesOf(const QByteArray& bytes) {
    return {reinterpret_cast<const std::uint8_t*>(bytes.constData()), std::size_t(bytes.size())};
}

std::string hex(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%X", value);
    return text;
}

// "D8 E0+2 DA+0 scan@12": each segment's marker and payload size, then why
// and where the walk stopped.
std::string walkJpeg(const QByteArray& bytes) {
    JpegSegmentReader segments(bytesOf(bytes));
    std::string walk;
    std::size_t end = 0;
    while (const auto segment = segments.next()) {
        walk += hex(unsigned(segment->marker));
        if (!segment->payload.empty() || !JpegSegmentReader::isStandalone(segment->marker))
            walk += "+" + std::to_string(segment->payload.size());
        walk += " ";
        end = segment->end;
    }
    switch (segments.status()) {
    case JpegSegmentReader::Status::Scan:
        return walk + "scan@" + std::to_string(end);
    case JpegSegmentReader::Status::End:
        return walk + "end";
    case JpegSegmentReader::Status::Truncated:
        return walk + "truncated";
    case JpegSegmentReader::Status::Malformed:
        return walk + "malformed";
    case JpegSegmentReader::Status::Reading:
        break;
    }
    return walk + "?";
}

// A TIFF structure from hex words, in either byte order: "h" stands for the
// header's byte-order mark, 16-bit and 32-bit fields are written as 4 and 8
// hex digits in big-endian and swapped for little-endian.
QByteArray tiff(bool littleEndian, const std::string& fields) {
    QByteArray bytes(littleEndian ? "II" : "MM");
    std::size_t at = 0;
    while (at < fields.size()) {
        const std::size_t space = fields.find(' ', at);
        const std::string field = fields.substr(at, space - at);
        at = space == std::string::npos ? fields.size() : space + 1;
        QByteArray value = QByteArray::fromHex(QByteArray::fromStdString(field));
        if (littleEndian)
            std::reverse(value.begin(), value.end());
        bytes += value;
    }
    return bytes;
}

// "ifd8:1 112@16 end": each IFD's offset and entry count with its entries'
// tags and value offsets ("!" when the value does not lie within the
// data), then how the chain ended.
std::string walkTiff(const QByteArray& bytes) {
    TiffReader reader(bytesOf(bytes));
    if (!reader.isValid())
        return "invalid";
    std::string walk;
    auto ifd = reader.firstIfd();
    while (ifd) {
        walk += "ifd" + std::to_string(ifd->offset) + ":" + std::to_string(ifd->count);
        for (unsigned index = 0; index < ifd->count; ++index) {
            const auto entry = reader.entry(*ifd, index);
            const auto value = reader.valueOffset(*entry);
            walk += " " + hex(entry->tag) + "@" + (value ? std::to_string(*value) : "!");
        }
        walk += " ";
        const auto link = reader.nextIfdOffset(*ifd);
        if (!link)
            return walk + "nolink";
        if (*link == 0)
            return walk + "end";
        ifd = reader.nextIfd(*ifd);
    }
    return walk + "refused";
}

} // namespace

TEST(ByteReader, ReadsInBothOrdersAndNeverPastTheEnd) {
    const QByteArray data = QByteArray::fromHex("0102030405");
    ByteReader reader(bytesOf(data));
    EXPECT_EQ(reader.readU16(ByteOrder::Big), 0x0102);
    EXPECT_EQ(reader.readU16(ByteOrder::Little), 0x0403);
    EXPECT_FALSE(reader.readU16(ByteOrder::Big));
    EXPECT_EQ(reader.position(), 4u); // a failed read does not move
    EXPECT_EQ(reader.u32At(1, ByteOrder::Little), 0x05040302u);
    EXPECT_FALSE(reader.u32At(2, ByteOrder::Big));
    EXPECT_FALSE(reader.spanAt(~std::uint64_t(0), 2)); // no wrap-around
    EXPECT_FALSE(reader.seek(6));
    EXPECT_TRUE(reader.seek(5));
    EXPECT_FALSE(reader.readByte());
}

TEST(JpegSegmentReader, WalksUpToTheScanAndStopsAtDamage) {
    struct Case {
        const char* name;
        const char* hex;
        std::string walk;
    };
    const Case cases[] = {
        {"segments then scan", "FFD8 FFE0 0004 AABB FFDA 0002 1234 FFD9", "D8 E0+2 DA+0 scan@12"},
        {"fill bytes", "FFD8 FFFFFFE1 0003 01 FFFFD9", "D8 E1+1 D9 end"},
        {"standalone markers", "FFD8 FFD0 FF01 FFD7 FFD9 FFE0", "D8 D0 1 D7 D9 end"},
        {"length past the end", "FFD8 FFE1 0010 AABB", "D8 truncated"},
        {"length zero", "FFD8 FFFE 0000 FFD9", "D8 malformed"},
        {"length one", "FFD8 FFFE 0001 FFD9", "D8 malformed"},
        {"empty payload", "FFD8 FFFE 0002 FFD9", "D8 FE+0 D9 end"},
        {"cut in the length", "FFD8 FFE0 00", "D8 truncated"},
        {"only fill bytes", "FFD8 FFFFFF", "D8 truncated"},
        {"no marker", "FFD8 00E0 0002", "D8 malformed"},
        {"stuffed zero", "FFD8 FF00", "D8 malformed"},
        {"reserved marker", "FFD8 FF02 0002", "D8 malformed"},
        {"empty", "", "truncated"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(walkJpeg(QByteArray::fromHex(c.hex)), c.walk) << c.name;
}

TEST(TiffReader, FollowsOnlyIfdsWithinTheDataAndNeverTwice) {
    struct Case {
        const char* name;
        std::string fields; // after the byte-order mark
        std::string walk;
    };
    // One entry is 12 bytes: tag, type, count, value or value offset.
    const std::string orientation = "0112 0003 00000001 0006 0000";
    const Case cases[] = {
        {"one IFD", "002A 00000008 0001 " + orientation + " 00000000", "ifd8:1 112@18 end"},
        {"value past the entry",
         "002A 00000008 0001 010F 0002 0000000A 0000001A 00000000 5A582D31000000000000",
         "ifd8:1 10F@26 end"},
        {"value past the end", "002A 00000008 0001 010F 0002 0000000A 00000016 00000000",
         "ifd8:1 10F@! end"},
        {"value count overflows", "002A 00000008 0001 010F 0005 FFFFFFFF 00000008 00000000",
         "ifd8:1 10F@! end"},
        {"unknown type", "002A 00000008 0001 010F 00FF 00000001 00000000 00000000",
         "ifd8:1 10F@! end"},
        {"chain of two", "002A 00000008 0001 " + orientation + " 0000001A 0000 00000000",
         "ifd8:1 112@18 ifd26:0 end"},
        {"no room for the link", "002A 00000008 0001 " + orientation, "ifd8:1 112@18 nolink"},
        {"link to itself", "002A 00000008 0001 " + orientation + " 00000008",
         "ifd8:1 112@18 refused"},
        // The second entry, read as an IFD, would have no entries.
        {"link into itself",
         "002A 00000008 0002 " + orientation + " 0000 0003 00000001 0000 0000 00000016",
         "ifd8:2 112@18 0@30 refused"},
        {"loop back", "002A 00000008 0001 " + orientation + " 0000001A 0000 00000008",
         "ifd8:1 112@18 ifd26:0 refused"},
        {"IFD past the end", "002A 00001000", "refused"},
        {"IFD in the header", "002A 00000004", "refused"},
        {"entry count past the end", "002A 00000008 FFFF " + orientation, "refused"},
        {"not 42", "002B 00000008 0000 00000000", "invalid"},
        {"short header", "002A 0000", "invalid"},
    };
    for (bool littleEndian : {false, true}) {
        for (const Case& c : cases)
            EXPECT_EQ(walkTiff(tiff(littleEndian, c.fields)), c.walk)
                << c.name << (littleEndian ? " (II)" : " (MM)");
    }
    EXPECT_EQ(walkTiff(QByteArray("MI\0\x2A\0\0\0\x08", 8)), "invalid");
}

TEST(TiffReader, PatchedEntryReadsBack) {
    for (bool littleEndian : {false, true}) {
        QByteArray bytes =
            tiff(littleEndian, "002A 00000008 0001 A002 0003 00000001 00400000 00000000");
        TiffReader reader(bytesOf(bytes));
        const auto entry = reader.findEntry(*reader.firstIfd(), 0xA002);
        ASSERT_TRUE(entry);
        const auto patched = reader.singleValueEntry(0xA002, TiffReader::Long, 70000);
        bytes.replace(qsizetype(entry->offset), 12,
                      QByteArray(reinterpret_cast<const char*>(patched.data()), 12));
        TiffReader again(bytesOf(bytes));
        const auto read = again.findEntry(*again.firstIfd(), 0xA002);
        ASSERT_TRUE(read);
        EXPECT_EQ(read->type, TiffReader::Long);
        EXPECT_EQ(read->count, 1u);
        EXPECT_EQ(again.bytes().u32At(read->offset + 8, again.byteOrder()), 70000u);
    }
}
