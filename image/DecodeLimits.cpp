// SPDX-License-Identifier: GPL-3.0-or-later
#include "DecodeLimits.h"

#include "JpegData.h"
#include "JpegSegmentReader.h"

#include <QImageReader>

#include <algorithm>
#include <cstdint>
#include <span>

namespace {

// Cameras write about ten progressive scans; libjpeg walks the whole
// coefficient buffer for each, so thousands of tiny scans are a time bomb.
constexpr int kMaxJpegScans = 100;
// Progressive and multi-scan JPEGs keep every DCT coefficient (2 bytes) of
// the whole picture whatever the output scale: the budget Qt's decoders get.
constexpr qint64 kMaxCoefficientBytes = DecodeLimits::maximumPixels * 4;

struct JpegLayout {
    QSize size;
    int scans = 0; // counted up to one past the limit
    bool progressive = false;
    qint64 coefficientBytes = 0; // of the whole picture, all components
};

JpegLayout layoutOf(const QByteArray& bytes) {
    JpegLayout layout;
    // Segment by segment up to the first scan, so the markers of an EXIF
    // thumbnail inside APP1 are not taken for the picture's.
    JpegSegmentReader segments(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                         std::size_t(bytes.size())));
    while (const auto segment = segments.next()) {
        const int marker = segment->marker;
        if (marker == JPEG_MARKER_SOS) {
            // Inside entropy-coded data 0xFF is always followed by 0x00 or a
            // restart marker, so every later FF DA pair starts a scan.
            layout.scans = 1;
            for (qsizetype at = bytes.indexOf('\xFF', qsizetype(segment->end));
                 at >= 0 && at + 1 < bytes.size() && layout.scans <= kMaxJpegScans;
                 at = bytes.indexOf('\xFF', at + 1)) {
                if (bytes.at(at + 1) == '\xDA')
                    ++layout.scans;
            }
            break;
        }
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        const auto payload = segment->payload;
        if (!frame || payload.size() < 6)
            continue;
        // SOF2, SOF6, SOF10 and SOF14 are the progressive frames.
        layout.progressive = (marker & 0x03) == 0x02;
        const qint64 height = (payload[1] << 8) | payload[2];
        const qint64 width = (payload[3] << 8) | payload[4];
        layout.size = QSize(int(width), int(height));
        const std::size_t components = std::min<std::size_t>(payload[5], (payload.size() - 6) / 3);
        int maxH = 1, maxV = 1;
        for (std::size_t c = 0; c < components; ++c) {
            maxH = std::max(maxH, payload[7 + 3 * c] >> 4);
            maxV = std::max(maxV, payload[7 + 3 * c] & 0x0F);
        }
        layout.coefficientBytes = 0;
        for (std::size_t c = 0; c < components; ++c) {
            const qint64 h = payload[7 + 3 * c] >> 4, v = payload[7 + 3 * c] & 0x0F;
            const qint64 blocksWide = (width * h + maxH * 8 - 1) / (maxH * 8);
            const qint64 blocksHigh = (height * v + maxV * 8 - 1) / (maxV * 8);
            layout.coefficientBytes += blocksWide * blocksHigh * 64 * 2;
        }
    }
    return layout;
}

} // namespace

void DecodeLimits::allowLargePhotographs() {
    // Qt's decoders allocate 32-bit pixels; the limit is in megabytes.
    constexpr int megabytes = int((maximumPixels * 4 + (1 << 20) - 1) >> 20);
    const int current = QImageReader::allocationLimit();
    if (current != 0 && current < megabytes)
        QImageReader::setAllocationLimit(megabytes);
}

bool DecodeLimits::acceptableSize(const QSize& size) {
    return size.isValid() && !size.isEmpty() &&
           qint64(size.width()) * size.height() <= maximumPixels;
}

bool DecodeLimits::acceptableJpeg(const QByteArray& jpeg) {
    const JpegLayout layout = layoutOf(jpeg);
    const bool buffered = layout.progressive || layout.scans > 1;
    return acceptableSize(layout.size) && layout.scans <= kMaxJpegScans &&
           !(buffered && layout.coefficientBytes > kMaxCoefficientBytes);
}
