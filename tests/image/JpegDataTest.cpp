// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegData.h"
#include "ExifDataIO.h"
#include "JpegFixtures.h"

#include <QList>

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdlib>
#include <cstring>
#include <string>

using namespace JpegFixtures;

namespace {

struct Segment {
    int marker;
    QByteArray payload;
    bool operator==(const Segment&) const = default;
};

// An independent walk over a JPEG stream: the segments before the scan, the
// scan's payload and everything after it.
QList<Segment> segments(const QByteArray& bytes, QByteArray* scanData) {
    QList<Segment> list;
    qsizetype o = 2;
    while (o + 4 <= bytes.size() && uchar(bytes[o]) == 0xFF) {
        const int marker = uchar(bytes[o + 1]);
        const int length = (uchar(bytes[o + 2]) << 8) | uchar(bytes[o + 3]);
        list.append({marker, bytes.mid(o + 4, length - 2)});
        o += 2 + length;
        if (marker == 0xDA) {
            *scanData = bytes.mid(o);
            break;
        }
    }
    return list;
}

QList<Segment> withoutExif(QList<Segment> list) {
    list.removeIf(
        [](const Segment& s) { return s.marker == 0xE1 && s.payload.startsWith("Exif"); });
    return list;
}

QByteArray save(JPEGData* data) {
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    jpeg_data_save_data(data, &bytes, &size);
    QByteArray out(reinterpret_cast<const char*>(bytes), qsizetype(size));
    std::free(bytes);
    return out;
}

JPEGData* load(const QByteArray& bytes) {
    return jpeg_data_new_from_data(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                   static_cast<unsigned int>(bytes.size()));
}

struct LogCapture {
    std::string messages;
    ExifLog* log = exif_log_new();
    LogCapture() {
        exif_log_set_func(
            log,
            [](ExifLog*, ExifLogCode, const char* domain, const char* format, va_list args,
               void* self) {
                char line[512];
                std::vsnprintf(line, sizeof line, format, args);
                static_cast<LogCapture*>(self)->messages +=
                    std::string(domain) + ": " + line + "\n";
            },
            this);
    }
    ~LogCapture() { exif_log_unref(log); }
};

QByteArray richJpeg() {
    ExifOptions options;
    options.orientation = 6;
    options.thumbnail = encodeJpeg(quadrants(32, 24));
    QByteArray bytes = withExif(encodeJpeg(quadrants(64, 48)), exifPayload(options), true);
    const QByteArray extra =
        segment(0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0<x:xmpmeta/>", 41)) +
        segment(0xE2, "ICC_PROFILE\0\x01\x01profile") + segment(0xFE, "comment") +
        segment(0xED, QByteArray(3000, 'p'));
    bytes.insert(2, extra);
    return bytes;
}

} // namespace

TEST(JpegData, LoadAndSaveKeepsEveryOtherSegmentByteForByte) {
    const QByteArray original = richJpeg();
    JPEGData* data = load(original);
    ASSERT_TRUE(jpeg_data_is_complete(data));
    EXPECT_EQ(data->sections[0].marker, JPEG_MARKER_SOI);
    EXPECT_EQ(data->sections[data->count - 1].marker, JPEG_MARKER_EOI);
    const QByteArray saved = save(data);
    jpeg_data_unref(data);

    QByteArray scanBefore, scanAfter;
    EXPECT_EQ(withoutExif(segments(saved, &scanAfter)),
              withoutExif(segments(original, &scanBefore)));
    EXPECT_EQ(scanAfter, scanBefore);
    EXPECT_TRUE(saved.endsWith(QByteArray::fromHex("FFD9")));
    // The XMP segment is kept as it was, not taken for EXIF.
    EXPECT_TRUE(saved.contains("<x:xmpmeta/>"));

    // Without EXIF the stream comes back unchanged.
    const QByteArray plain = encodeJpeg(quadrants(16, 16));
    JPEGData* plainData = load(plain);
    EXPECT_EQ(save(plainData), plain);
    jpeg_data_unref(plainData);
}

TEST(JpegData, ExifIsReplacedOrInsertedAfterSoi) {
    JPEGData* data = load(encodeJpeg(quadrants(16, 16)));
    EXPECT_EQ(jpeg_data_get_exif_data(data), nullptr);
    ExifOptions options;
    options.make = "Inserted";
    ExifData* exif = makeExif(options);
    jpeg_data_set_exif_data(data, exif);
    exif_data_unref(exif);
    EXPECT_EQ(data->sections[1].marker, JPEG_MARKER_APP1);
    EXPECT_EQ(data->sections[2].marker, JPEG_MARKER_APP0);

    const QByteArray saved = save(data);
    jpeg_data_unref(data);
    EXPECT_EQ(saved.mid(2, 2), QByteArray::fromHex("FFE1"));
    JPEGData* reloaded = load(saved);
    ExifData* back = jpeg_data_get_exif_data(reloaded);
    ASSERT_NE(back, nullptr);
    EXPECT_NE(exif_content_get_entry(back->ifd[EXIF_IFD_0], EXIF_TAG_MAKE), nullptr);

    ExifData* replacement = ExifDataIO::newExifData();
    jpeg_data_set_exif_data(reloaded, replacement);
    ExifData* now = jpeg_data_get_exif_data(reloaded);
    EXPECT_EQ(now, replacement);
    unsigned int app1 = 0;
    for (unsigned int i = 0; i < reloaded->count; ++i)
        app1 += reloaded->sections[i].marker == JPEG_MARKER_APP1;
    EXPECT_EQ(app1, 1u);
    exif_data_unref(now);
    exif_data_unref(replacement);
    exif_data_unref(back);
    jpeg_data_unref(reloaded);
}

TEST(JpegData, OversizedExifDropsItsThumbnailOrIsRefused) {
    ExifOptions options;
    options.userComment = QByteArray(60000, 'c');
    QImage noisy(160, 120, QImage::Format_RGB32);
    for (int i = 0; i < 160 * 120; ++i)
        noisy.setPixel(i % 160, i / 160, qRgb(i * 7919 % 251, i * 104729 % 241, i % 256));
    options.thumbnail = encodeJpeg(noisy, 0, 100);
    ASSERT_GT(options.thumbnail.size(), 6000);
    JPEGData* data = load(encodeJpeg(quadrants(16, 16)));
    ExifData* exif = makeExif(options);
    jpeg_data_set_exif_data(data, exif);
    const QByteArray saved = save(data);
    ASSERT_FALSE(saved.isEmpty());
    const int length = (uchar(saved[4]) << 8) | uchar(saved[5]);
    EXPECT_LE(length, 65535);
    EXPECT_EQ(exif->size, 0u); // the thumbnail went
    exif_data_unref(exif);

    options.userComment = QByteArray(70000, 'c');
    ExifData* huge = makeExif(options);
    jpeg_data_set_exif_data(data, huge);
    EXPECT_TRUE(save(data).isEmpty());
    EXPECT_EQ(jpeg_data_save_file(data, "/tmp/never-written.jpg"), 0);
    exif_data_unref(huge);
    jpeg_data_unref(data);
}

TEST(JpegData, CorruptStreamsStopCleanlyAndAreLogged) {
    LogCapture capture;
    JPEGData* data = jpeg_data_new();
    jpeg_data_log(data, capture.log);
    const QByteArray junk = QByteArray::fromHex("00D8FFE0");
    jpeg_data_load_data(data, reinterpret_cast<const unsigned char*>(junk.constData()), 4);
    EXPECT_EQ(data->count, 0u);
    EXPECT_EQ(capture.messages, "jpeg-data: Data does not follow JPEG specification.\n");
    jpeg_data_load_file(data, "/no/such/file.jpg");
    EXPECT_NE(capture.messages.find("Path '/no/such/file.jpg' invalid."), std::string::npos);
    jpeg_data_unref(data);

    const QByteArray good = richJpeg();
    for (qsizetype cut : {qsizetype(3), qsizetype(7), qsizetype(40), good.size() / 2}) {
        JPEGData* part = load(good.left(cut));
        EXPECT_FALSE(jpeg_data_is_complete(part)) << cut;
        jpeg_data_unref(part);
    }
    // A segment length below two, and a file without EOI (its scan data runs
    // to the end).
    QByteArray badLength = QByteArray::fromHex("FFD8FFFE0001FFD9");
    JPEGData* bad = load(badLength);
    EXPECT_FALSE(jpeg_data_is_complete(bad));
    jpeg_data_unref(bad);
    const QByteArray noEoi = encodeJpeg(quadrants(16, 16)).chopped(2);
    JPEGData* open = load(noEoi);
    EXPECT_TRUE(jpeg_data_is_complete(open));
    EXPECT_NE(open->sections[open->count - 1].marker, JPEG_MARKER_EOI);
    EXPECT_EQ(save(open), noEoi);
    jpeg_data_unref(open);

    // Null objects are accepted everywhere.
    jpeg_data_ref(nullptr);
    jpeg_data_unref(nullptr);
    jpeg_data_dump(nullptr);
    EXPECT_EQ(jpeg_data_get_exif_data(nullptr), nullptr);
}

TEST(JpegData, MarkerTable) {
    int named = 0;
    for (int marker = 0; marker < 256; ++marker)
        named += jpeg_marker_get_name(marker) != nullptr;
    EXPECT_EQ(named, 62);
    EXPECT_STREQ(jpeg_marker_get_name(0xC0), "SOF0");
    EXPECT_STREQ(jpeg_marker_get_description(0xCF), "Encoding (differential lossless, arithmetic)");
    EXPECT_STREQ(jpeg_marker_get_description(0xD7), "Restart 7");
    EXPECT_EQ(jpeg_marker_get_name(0xD0), nullptr);
    EXPECT_STREQ(jpeg_marker_get_description(0xEF), "Application segment 15");
    EXPECT_STREQ(jpeg_marker_get_name(0xFD), "JPG13");
}

TEST(JpegData, ReferenceCountingAndDump) {
    JPEGData* data = load(richJpeg());
    jpeg_data_ref(data);
    jpeg_data_unref(data);
    EXPECT_EQ(data->sections[0].marker, JPEG_MARKER_SOI); // still alive
    testing::internal::CaptureStdout();
    jpeg_data_dump(data);
    const std::string dump = testing::internal::GetCapturedStdout();
    EXPECT_NE(dump.find("Dumping JPEG data ("), std::string::npos);
    EXPECT_NE(dump.find("Section 0 (marker 0xd8 - SOI):"), std::string::npos);
    EXPECT_NE(dump.find("  Description: Comment"), std::string::npos);
    EXPECT_NE(dump.find("  Size: 7\n  Unknown content."), std::string::npos);
    jpeg_data_unref(data);
}
