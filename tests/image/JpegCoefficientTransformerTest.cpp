// SPDX-License-Identifier: GPL-3.0-or-later
// The lossless transform against TurboJPEG's own (tjTransform with
// TJXOPT_PERFECT) as the oracle: the same pixels once decoded, the same
// sides and the same APPn and COM segments, for every code and for the
// sampling layouts, scan structures and colour spaces cameras and editors
// write; and refusals of what cannot be turned or is damaged.
#include "ImageTransform.h"
#include "JpegFixtures.h"
#include "JpegTransform.h"

#include <QImage>
#include <QList>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <libexif/exif-data.h>
#include <libexif/exif-utils.h>
#include <turbojpeg.h>

namespace {

struct Layout {
    const char* name;
    J_COLOR_SPACE space; // of the file: YCbCr, grayscale or RGB (with an Adobe segment)
    int lumaH = 1, lumaV = 1;
    bool progressive = false;
    int restartRows = 0;
    bool exifFirst = false; // EXIF in place of the JFIF segment
    int bitsPerAc = 0;      // grayscale only: one scan per AC coefficient and bit
};

const Layout layouts[] = {
    {"4:2:0", JCS_YCbCr, 2, 2, false, 0, true},
    {"4:2:2", JCS_YCbCr, 2, 1},
    {"4:4:0", JCS_YCbCr, 1, 2},
    {"4:4:4", JCS_YCbCr, 1, 1, false, 0, true},
    {"gray", JCS_GRAYSCALE},
    {"rgb", JCS_RGB},
    {"progressive 4:2:0", JCS_YCbCr, 2, 2, true, 0, true},
    {"restarts 4:2:2", JCS_YCbCr, 2, 1, false, 1},
};

// Texture with energy in every frequency, so a wrong sign or a block out of
// place changes the decoded pixels.
QImage texture(int width, int height) {
    QImage image = JpegFixtures::quadrants(width, height);
    std::uint32_t state = 12345;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            state = state * 1103515245u + 12345u;
            const QColor base = image.pixelColor(x, y);
            const int noise = int(state >> 24) % 96 - 48;
            image.setPixelColor(x, y,
                                QColor(qBound(0, base.red() + noise, 255),
                                       qBound(0, base.green() - noise, 255),
                                       qBound(0, base.blue() + (x * 7 + y * 3) % 64 - 32, 255)));
        }
    return image;
}

QByteArray exifWithPixelSize(int width, int height, bool littleEndian) {
    JpegFixtures::ExifOptions options;
    options.orientation = 6;
    options.littleEndian = littleEndian;
    ExifData* exif = JpegFixtures::makeExif(options);
    for (const auto& [tag, value] : {std::pair{EXIF_TAG_PIXEL_X_DIMENSION, width},
                                     std::pair{EXIF_TAG_PIXEL_Y_DIMENSION, height}}) {
        ExifEntry* entry = exif_entry_new();
        exif_content_add_entry(exif->ifd[EXIF_IFD_EXIF], entry);
        exif_entry_initialize(entry, tag);
        entry->format = EXIF_FORMAT_SHORT; // as cameras write it
        entry->size = 2;
        exif_set_short(entry->data, exif_data_get_byte_order(exif), ExifShort(value));
        exif_entry_unref(entry);
    }
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(exif, &bytes, &size);
    const QByteArray payload(reinterpret_cast<const char*>(bytes), qsizetype(size));
    std::free(bytes);
    exif_data_unref(exif);
    return payload;
}

// Encoded with libjpeg directly for full control of sampling, scans,
// restart markers and the segments after SOI.
QByteArray encode(const QImage& image, const Layout& layout) {
    const bool gray = layout.space == JCS_GRAYSCALE;
    const QImage pixels =
        image.convertToFormat(gray ? QImage::Format_Grayscale8 : QImage::Format_RGB888);
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = JDIMENSION(image.width());
    cinfo.image_height = JDIMENSION(image.height());
    cinfo.input_components = gray ? 1 : 3;
    cinfo.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, layout.space);
    jpeg_set_quality(&cinfo, 90, TRUE);
    cinfo.comp_info[0].h_samp_factor = layout.lumaH;
    cinfo.comp_info[0].v_samp_factor = layout.lumaV;
    if (layout.progressive)
        jpeg_simple_progression(&cinfo);
    cinfo.restart_in_rows = layout.restartRows;
    std::vector<jpeg_scan_info> scans;
    if (layout.bitsPerAc > 0) {
        scans.push_back({1, {0}, 0, 0, 0, 0});
        for (int k = 1; k < DCTSIZE2; ++k)
            for (int bit = layout.bitsPerAc - 1; bit >= 0; --bit)
                scans.push_back({1, {0}, k, k, bit + 1 == layout.bitsPerAc ? 0 : bit + 1, bit});
        cinfo.scan_info = scans.data();
        cinfo.num_scans = int(scans.size());
    }
    cinfo.write_JFIF_header = cinfo.write_JFIF_header && !layout.exifFirst;
    jpeg_start_compress(&cinfo, TRUE);
    if (layout.exifFirst) {
        const QByteArray exif =
            QByteArray("Exif\0\0", 6) +
            exifWithPixelSize(image.width(), image.height(), layout.progressive);
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(exif.constData()),
                          unsigned(exif.size()));
    }
    const QByteArray icc("ICC_PROFILE\0\1\1not really a profile", 34);
    jpeg_write_marker(&cinfo, JPEG_APP0 + 2, reinterpret_cast<const JOCTET*>(icc.constData()),
                      unsigned(icc.size()));
    jpeg_write_marker(&cinfo, JPEG_COM, reinterpret_cast<const JOCTET*>("made by a test"), 14);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixels.constScanLine(int(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    const QByteArray result(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return result;
}

QByteArray turboTransform(const QByteArray& jpeg, int code) {
    tjhandle handle = tjInitTransform();
    tjtransform options;
    std::memset(&options, 0, sizeof options);
    options.op = code;
    options.options = TJXOPT_PERFECT;
    unsigned char* out = nullptr;
    unsigned long size = 0;
    QByteArray result;
    if (tjTransform(handle, reinterpret_cast<const unsigned char*>(jpeg.constData()),
                    static_cast<unsigned long>(jpeg.size()), 1, &out, &size, &options, 0) == 0)
        result = QByteArray(reinterpret_cast<const char*>(out), qsizetype(size));
    tjFree(out);
    tjDestroy(handle);
    return result;
}

struct Decoded {
    int width = 0, height = 0;
    QByteArray pixels;
};

Decoded decode(const QByteArray& jpeg, bool gray) {
    Decoded decoded;
    tjhandle handle = tjInitDecompress();
    const auto* bytes = reinterpret_cast<const unsigned char*>(jpeg.constData());
    const auto size = static_cast<unsigned long>(jpeg.size());
    int subsampling = 0, colorspace = 0;
    if (tjDecompressHeader3(handle, bytes, size, &decoded.width, &decoded.height, &subsampling,
                            &colorspace) == 0) {
        const int format = gray ? TJPF_GRAY : TJPF_RGB;
        decoded.pixels.resize(qsizetype(decoded.width) * decoded.height * tjPixelSize[format]);
        if (tjDecompress2(handle, bytes, size,
                          reinterpret_cast<unsigned char*>(decoded.pixels.data()), decoded.width, 0,
                          decoded.height, format, 0) != 0)
            decoded.pixels.clear();
    }
    tjDestroy(handle);
    return decoded;
}

// The APPn and COM segments before the first scan, in order.
QList<QByteArray> appSegments(const QByteArray& jpeg) {
    QList<QByteArray> segments;
    for (qsizetype at = 2; at + 4 <= jpeg.size() && uchar(jpeg[at]) == 0xFF;) {
        const int marker = uchar(jpeg[at + 1]);
        const qsizetype length = (uchar(jpeg[at + 2]) << 8) | uchar(jpeg[at + 3]);
        if (marker == 0xDA)
            break;
        if ((marker >= 0xE0 && marker <= 0xEF) || marker == 0xFE)
            segments.append(jpeg.mid(at, length + 2));
        at += length + 2;
    }
    return segments;
}

TEST(JpegCoefficientTransformerTest, MatchesTurboJpegForEveryCodeAndLayout) {
    const QImage image = texture(48, 32);
    for (const Layout& layout : layouts) {
        const QByteArray source = encode(image, layout);
        ASSERT_FALSE(source.isEmpty()) << layout.name;
        const bool gray = layout.space == JCS_GRAYSCALE;
        for (int code = JXFORM_NONE; code <= JXFORM_ROT_270; ++code) {
            SCOPED_TRACE(testing::Message() << layout.name << ", code " << code);
            const QByteArray ours = jpegTransformData(source, code);
            const QByteArray oracle = turboTransform(source, code);
            ASSERT_FALSE(oracle.isEmpty());
            ASSERT_FALSE(ours.isEmpty());
            const Decoded got = decode(ours, gray), want = decode(oracle, gray);
            EXPECT_EQ(got.width, want.width);
            EXPECT_EQ(got.height, want.height);
            EXPECT_EQ(got.width, code >= JXFORM_TRANSPOSE && code != JXFORM_ROT_180 ? 32 : 48);
            ASSERT_FALSE(got.pixels.isEmpty());
            EXPECT_TRUE(got.pixels == want.pixels);
            // EXIF (its pixel size updated by both), ICC, COM and the
            // library-written JFIF or Adobe segment, byte for byte.
            EXPECT_EQ(appSegments(ours), appSegments(oracle));
            EXPECT_EQ(appSegments(ours).size(), appSegments(source).size());
        }
    }
}

TEST(JpegCoefficientTransformerTest, TurnsTwiceBackToTheSamePixels) {
    const Layout layout{"progressive 4:2:2", JCS_YCbCr, 2, 1, true};
    const QByteArray source = encode(texture(64, 48), layout);
    const QByteArray upright =
        jpegTransformData(jpegTransformData(source, JXFORM_ROT_90), JXFORM_ROT_270);
    const QByteArray mirrored =
        jpegTransformData(jpegTransformData(source, JXFORM_TRANSVERSE), JXFORM_TRANSVERSE);
    EXPECT_TRUE(decode(upright, false).pixels == decode(source, false).pixels);
    EXPECT_TRUE(decode(mirrored, false).pixels == decode(source, false).pixels);
}

TEST(JpegCoefficientTransformerTest, RefusesPartialMcusHugeFramesAndDamagedInput) {
    const QImage image = texture(48, 32);
    const QByteArray unaligned420 = encode(texture(40, 32), layouts[0]);
    const QByteArray unaligned444 = encode(texture(48, 36), layouts[3]);
    for (int code = JXFORM_NONE; code <= JXFORM_ROT_270; ++code) {
        EXPECT_TRUE(jpegTransformData(unaligned420, code).isEmpty()) << code;
        EXPECT_TRUE(jpegTransformData(unaligned444, code).isEmpty()) << code;
    }

    const QByteArray valid = encode(image, layouts[1]);
    // 40000 x 40000, whole MCUs, claimed by a file of a few hundred bytes.
    QByteArray huge = valid;
    const qsizetype frame = huge.indexOf("\xFF\xC0");
    ASSERT_GT(frame, 0);
    huge.replace(frame + 5, 4, QByteArray::fromHex("9C409C40"));
    EXPECT_TRUE(jpegTransformData(huge, JXFORM_ROT_90).isEmpty());

    EXPECT_TRUE(jpegTransformData(QByteArray(), JXFORM_ROT_90).isEmpty());
    EXPECT_TRUE(jpegTransformData(valid, -1).isEmpty());
    EXPECT_TRUE(jpegTransformData(valid, 8).isEmpty());
    EXPECT_TRUE(jpegTransformData(QByteArray(4096, 'x'), JXFORM_ROT_90).isEmpty());
    // Cut inside the headers and inside the entropy-coded data.
    for (qsizetype cut = 2; cut < valid.size() - 2; cut += 37)
        EXPECT_TRUE(jpegTransformData(valid.left(cut), JXFORM_ROT_90).isEmpty()) << cut;
    // Bytes of the entropy-coded data overwritten: refused or turned, never a crash.
    QByteArray damaged = valid;
    for (qsizetype at = damaged.size() / 2; at < damaged.size() - 2; at += 5)
        damaged[at] = char(0xFF);
    jpegTransformData(damaged, JXFORM_ROT_270);
}

TEST(JpegCoefficientTransformerTest, RefusesHundredsOfScans) {
    const QImage image = texture(16, 16);
    // 1 + 63 x 4 = 253 scans: legal and turned; 1 + 63 x 10 = 631: refused.
    const QByteArray many =
        encode(image, Layout{"253 scans", JCS_GRAYSCALE, 1, 1, false, 0, false, 4});
    const QByteArray tooMany =
        encode(image, Layout{"631 scans", JCS_GRAYSCALE, 1, 1, false, 0, false, 10});
    const QByteArray turned = jpegTransformData(many, JXFORM_ROT_90);
    ASSERT_FALSE(turned.isEmpty());
    EXPECT_TRUE(decode(turned, true).pixels ==
                decode(turboTransform(many, JXFORM_ROT_90), true).pixels);
    EXPECT_FALSE(turboTransform(tooMany, JXFORM_ROT_90).isEmpty()); // a valid file
    EXPECT_TRUE(jpegTransformData(tooMany, JXFORM_ROT_90).isEmpty());
}

} // namespace
