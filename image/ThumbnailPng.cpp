// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThumbnailPng.h"

#include "ByteReader.h"

#include <libdeflate.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr int kColorRgb = 2;
constexpr int kColorRgba = 6;
constexpr int kFilterSub = 1;
constexpr int kFilterUp = 2;
constexpr int kFilterAverage = 3;
constexpr int kFilterPaeth = 4;
// Compressed text chunks are small; one that inflates beyond this is skipped.
constexpr std::size_t kMaxTextSize = 64 * 1024;

struct DecompressorDeleter {
    void operator()(libdeflate_decompressor* d) const { libdeflate_free_decompressor(d); }
};
struct CompressorDeleter {
    void operator()(libdeflate_compressor* c) const { libdeflate_free_compressor(c); }
};
using Decompressor = std::unique_ptr<libdeflate_decompressor, DecompressorDeleter>;
using Compressor = std::unique_ptr<libdeflate_compressor, CompressorDeleter>;

void appendU32(QByteArray& out, std::uint32_t value) {
    const char bytes[4] = {char(value >> 24), char(value >> 16), char(value >> 8), char(value)};
    out.append(bytes, 4);
}

void appendChunk(QByteArray& out, const char type[4], const QByteArray& data) {
    appendU32(out, std::uint32_t(data.size()));
    const qsizetype start = out.size();
    out.append(type, 4);
    out.append(data);
    const std::uint32_t crc =
        libdeflate_crc32(0, out.constData() + start, std::size_t(out.size() - start));
    appendU32(out, crc);
}

// The row filtered with Sub or Up, whichever gives the smaller sum of
// magnitudes (the usual guess at what compresses best).
void filterRow(const std::uint8_t* row, const std::uint8_t* previous, std::size_t length, int bpp,
               QByteArray& out) {
    std::vector<std::uint8_t> sub(length), up(length);
    long sumSub = 0, sumUp = 0;
    for (std::size_t i = 0; i < length; ++i) {
        sub[i] = std::uint8_t(row[i] - (i >= std::size_t(bpp) ? row[i - bpp] : 0));
        up[i] = std::uint8_t(row[i] - (previous ? previous[i] : 0));
        sumSub += std::abs(int(std::int8_t(sub[i])));
        sumUp += std::abs(int(std::int8_t(up[i])));
    }
    const bool useUp = previous && sumUp < sumSub;
    out.append(char(useUp ? kFilterUp : kFilterSub));
    const std::vector<std::uint8_t>& chosen = useUp ? up : sub;
    out.append(reinterpret_cast<const char*>(chosen.data()), qsizetype(length));
}

std::uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    if (pa <= pb && pa <= pc)
        return std::uint8_t(a);
    return std::uint8_t(pb <= pc ? b : c);
}

// Undoes the filter of one row in place; false for an unknown filter.
bool unfilterRow(int filter, std::uint8_t* row, const std::uint8_t* previous, std::size_t length,
                 int bpp) {
    const auto left = [&](std::size_t i) { return i >= std::size_t(bpp) ? row[i - bpp] : 0; };
    const auto above = [&](std::size_t i) { return previous ? previous[i] : 0; };
    const auto aboveLeft = [&](std::size_t i) {
        return previous && i >= std::size_t(bpp) ? previous[i - bpp] : 0;
    };
    switch (filter) {
    case 0:
        return true;
    case kFilterSub:
        for (std::size_t i = std::size_t(bpp); i < length; ++i)
            row[i] = std::uint8_t(row[i] + row[i - bpp]);
        return true;
    case kFilterUp:
        if (previous) {
            for (std::size_t i = 0; i < length; ++i)
                row[i] = std::uint8_t(row[i] + previous[i]);
        }
        return true;
    case kFilterAverage:
        for (std::size_t i = 0; i < length; ++i)
            row[i] = std::uint8_t(row[i] + ((left(i) + above(i)) >> 1));
        return true;
    case kFilterPaeth:
        for (std::size_t i = 0; i < length; ++i)
            row[i] = std::uint8_t(row[i] + paeth(left(i), above(i), aboveLeft(i)));
        return true;
    default:
        return false;
    }
}

// A zlib stream of at most kMaxTextSize bytes once inflated; empty on failure.
QByteArray inflateText(libdeflate_decompressor* decompressor, std::span<const std::uint8_t> data) {
    QByteArray text(qsizetype(kMaxTextSize), Qt::Uninitialized);
    std::size_t produced = 0;
    if (libdeflate_zlib_decompress(decompressor, data.data(), data.size(), text.data(),
                                   kMaxTextSize, &produced) != LIBDEFLATE_SUCCESS)
        return QByteArray();
    text.truncate(qsizetype(produced));
    return text;
}

// Keyword and text of a tEXt, zTXt or iTXt chunk; false when it is malformed
// or compressed in a way this reader does not know.
bool readText(std::span<const std::uint8_t> data, const char* type,
              libdeflate_decompressor* decompressor, QString* key, QString* value) {
    const auto* begin = reinterpret_cast<const char*>(data.data());
    const auto* end = begin + data.size();
    const char* keyEnd = static_cast<const char*>(std::memchr(begin, 0, data.size()));
    if (!keyEnd)
        return false;
    *key = QString::fromLatin1(begin, keyEnd - begin);
    const char* rest = keyEnd + 1;
    const auto restSpan = [&](const char* from) {
        return std::span<const std::uint8_t>(reinterpret_cast<const std::uint8_t*>(from),
                                             std::size_t(end - from));
    };
    if (std::strncmp(type, "tEXt", 4) == 0) {
        *value = QString::fromLatin1(rest, end - rest);
        return true;
    }
    if (std::strncmp(type, "zTXt", 4) == 0) {
        if (end - rest < 1 || *rest != 0)
            return false;
        const QByteArray text = inflateText(decompressor, restSpan(rest + 1));
        *value = QString::fromLatin1(text);
        return !text.isNull();
    }
    // iTXt: compression flag and method, then language and translated
    // keyword, each ended by a zero byte, then UTF-8 text.
    if (end - rest < 2)
        return false;
    const bool compressed = rest[0] != 0;
    const char* cursor = rest + 2;
    for (int field = 0; field < 2; ++field) {
        const char* zero =
            static_cast<const char*>(std::memchr(cursor, 0, std::size_t(end - cursor)));
        if (!zero)
            return false;
        cursor = zero + 1;
    }
    if (!compressed) {
        *value = QString::fromUtf8(cursor, end - cursor);
        return true;
    }
    const QByteArray text = inflateText(decompressor, restSpan(cursor));
    *value = QString::fromUtf8(text);
    return !text.isNull();
}

} // namespace

QByteArray ThumbnailPng::encode(const QImage& image, const TextChunks& texts) {
    if (image.isNull())
        return QByteArray();
    const bool alpha = image.hasAlphaChannel();
    const QImage pixels =
        image.convertToFormat(alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    const int width = pixels.width();
    const int height = pixels.height();
    const int bpp = alpha ? 4 : 3;
    const std::size_t rowLength = std::size_t(width) * std::size_t(bpp);

    QByteArray filtered;
    filtered.reserve(qsizetype((rowLength + 1) * std::size_t(height)));
    std::vector<std::uint8_t> row(rowLength), previous(rowLength);
    for (int y = 0; y < height; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            std::uint8_t* out = row.data() + std::size_t(x) * std::size_t(bpp);
            out[0] = std::uint8_t(qRed(line[x]));
            out[1] = std::uint8_t(qGreen(line[x]));
            out[2] = std::uint8_t(qBlue(line[x]));
            if (alpha)
                out[3] = std::uint8_t(qAlpha(line[x]));
        }
        filterRow(row.data(), y > 0 ? previous.data() : nullptr, rowLength, bpp, filtered);
        row.swap(previous);
    }

    const Compressor compressor(libdeflate_alloc_compressor(6));
    if (!compressor)
        return QByteArray();
    QByteArray compressed(
        qsizetype(libdeflate_zlib_compress_bound(compressor.get(), std::size_t(filtered.size()))),
        Qt::Uninitialized);
    const std::size_t size = libdeflate_zlib_compress(
        compressor.get(), filtered.constData(), std::size_t(filtered.size()), compressed.data(),
        std::size_t(compressed.size()));
    if (size == 0)
        return QByteArray();
    compressed.truncate(qsizetype(size));

    QByteArray png(reinterpret_cast<const char*>(kSignature), sizeof kSignature);
    QByteArray header;
    appendU32(header, std::uint32_t(width));
    appendU32(header, std::uint32_t(height));
    header.append(char(8)).append(char(alpha ? kColorRgba : kColorRgb));
    header.append(3, char(0)); // deflate, adaptive filtering, no interlace
    appendChunk(png, "IHDR", header);
    for (const auto& [key, text] : texts)
        appendChunk(png, "tEXt", key + '\0' + text);
    appendChunk(png, "IDAT", compressed);
    appendChunk(png, "IEND", QByteArray());
    return png;
}

QImage ThumbnailPng::decode(std::span<const std::uint8_t> bytes, int maxSide) {
    ByteReader reader(bytes);
    const auto signature = reader.readSpan(sizeof kSignature);
    if (!signature || std::memcmp(signature->data(), kSignature, sizeof kSignature) != 0)
        return QImage();

    const Decompressor decompressor(libdeflate_alloc_decompressor());
    if (!decompressor)
        return QImage();
    std::uint32_t width = 0, height = 0;
    int bpp = 0;
    std::vector<std::uint8_t> idat;
    QList<std::pair<QString, QString>> texts;
    bool ended = false;
    while (!ended) {
        const auto length = reader.readU32(ByteOrder::Big);
        const auto type = reader.readSpan(4);
        if (!length || !type)
            return QImage();
        const auto data = reader.readSpan(*length);
        if (!data || !reader.skip(4)) // the CRC; libdeflate checks the stream's own sum
            return QImage();
        const char* name = reinterpret_cast<const char*>(type->data());
        const bool first = width == 0;
        if (std::strncmp(name, "IHDR", 4) == 0 && first) {
            if (data->size() != 13)
                return QImage();
            ByteReader header(*data);
            const auto w = header.readU32(ByteOrder::Big);
            const auto h = header.readU32(ByteOrder::Big);
            const auto depth = header.readByte();
            const auto color = header.readByte();
            const auto compression = header.readByte();
            const auto filter = header.readByte();
            const auto interlace = header.readByte();
            if (*depth != 8 || (*color != kColorRgb && *color != kColorRgba) || *compression != 0 ||
                *filter != 0 || *interlace != 0)
                return QImage();
            if (*w == 0 || *h == 0 || *w > std::uint32_t(maxSide) || *h > std::uint32_t(maxSide))
                return QImage();
            width = *w;
            height = *h;
            bpp = *color == kColorRgba ? 4 : 3;
        } else if (first) {
            return QImage(); // IHDR comes first
        } else if (std::strncmp(name, "IDAT", 4) == 0) {
            idat.insert(idat.end(), data->begin(), data->end());
        } else if (std::strncmp(name, "tEXt", 4) == 0 || std::strncmp(name, "zTXt", 4) == 0 ||
                   std::strncmp(name, "iTXt", 4) == 0) {
            QString key, value;
            if (readText(*data, name, decompressor.get(), &key, &value))
                texts.append({key, value});
        } else if (std::strncmp(name, "IEND", 4) == 0) {
            ended = true;
        } else if (!(name[0] & 0x20)) {
            return QImage(); // an unknown critical chunk (a palette, say)
        }
    }

    const std::size_t rowLength = std::size_t(width) * std::size_t(bpp);
    const std::size_t rawSize = (rowLength + 1) * std::size_t(height);
    std::vector<std::uint8_t> raw(rawSize);
    std::size_t produced = 0;
    if (libdeflate_zlib_decompress(decompressor.get(), idat.data(), idat.size(), raw.data(),
                                   rawSize, &produced) != LIBDEFLATE_SUCCESS ||
        produced != rawSize)
        return QImage();

    QImage image(int(width), int(height), bpp == 4 ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull())
        return QImage();
    const std::uint8_t* previous = nullptr;
    for (std::uint32_t y = 0; y < height; ++y) {
        std::uint8_t* row = raw.data() + std::size_t(y) * (rowLength + 1);
        if (!unfilterRow(row[0], row + 1, previous, rowLength, bpp))
            return QImage();
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(int(y)));
        const std::uint8_t* pixel = row + 1;
        for (std::uint32_t x = 0; x < width; ++x, pixel += bpp)
            line[x] = qRgba(pixel[0], pixel[1], pixel[2], bpp == 4 ? pixel[3] : 0xFF);
        previous = row + 1;
    }
    for (const auto& [key, value] : texts)
        image.setText(key, value);
    return image;
}
