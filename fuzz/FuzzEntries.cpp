// SPDX-License-Identifier: GPL-3.0-or-later
#include "FuzzEntries.h"

#include "Exif.h"
#include "ExifDataIO.h"
#include "ExifDateReader.h"
#include "ExifOrient.h"
#include "HeifPictureReader.h"
#include "ImageUtils.h"
#include "JpegData.h"
#include "JpegSegmentReader.h"
#include "PictureDecoder.h"
#include "RawPictureReader.h"
#include "ThumbnailPng.h"
#include "TiffReader.h"
#include "browser/ThumbnailMaker.h"

#include <FileManagerUtils.h>

#include <QFile>
#include <QFileInfo>

#include <array>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <span>

namespace {

// A scratch file holding the input, removed when done.
class ScratchFile {
public:
    ScratchFile(const std::uint8_t* data, std::size_t size)
        : m_filePath(FileManagerUtils::temporaryFilename()) {
        QFile file(m_filePath);
        if (!m_filePath.isEmpty() && file.open(QIODevice::WriteOnly))
            m_written =
                file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size);
    }
    ~ScratchFile() {
        if (!m_filePath.isEmpty())
            QFile::remove(m_filePath);
    }
    bool ok() const { return m_written; }
    const QString& path() const { return m_filePath; }
    QByteArray nativePath() const { return QFile::encodeName(m_filePath); }

private:
    QString m_filePath;
    bool m_written = false;
};

constexpr int kTagsRead[] = {271,   272,   274,   33434, 33437, 34675, 34855, 36868, 37379,
                             37380, 37385, 37386, 40961, 41987, 41990, 41992, 41993};

void require(bool condition) {
    if (!condition)
        std::abort();
}

bool within(std::span<const std::uint8_t> part, std::span<const std::uint8_t> whole) {
    return part.data() >= whole.data() && part.data() + part.size() <= whole.data() + whole.size();
}

// Every IFD reachable from IFD 0: the chain and the EXIF, GPS and
// Interoperability sub-IFDs, with each entry's value located.
void walkTiff(std::span<const std::uint8_t> bytes) {
    TiffReader tiff(bytes);
    // The reader hands out each IFD once and no more than kMaxIfds.
    std::array<TiffReader::Ifd, TiffReader::kMaxIfds> queue;
    int queued = 0;
    const auto enqueue = [&](std::optional<TiffReader::Ifd> ifd) {
        if (!ifd)
            return;
        require(queued < TiffReader::kMaxIfds);
        queue[std::size_t(queued++)] = *ifd;
    };
    enqueue(tiff.firstIfd());
    for (int next = 0; next < queued; ++next) {
        const TiffReader::Ifd ifd = queue[std::size_t(next)];
        require(tiff.bytes().contains(ifd.offset, ifd.linkOffset() - ifd.offset));
        for (unsigned index = 0; index < ifd.count; ++index) {
            const auto entry = tiff.entry(ifd, index);
            require(entry.has_value());
            if (const auto at = tiff.valueOffset(*entry)) {
                const auto value = tiff.bytes().spanAt(
                    *at, std::uint64_t(TiffReader::typeSize(entry->type)) * entry->count);
                require(value && within(*value, bytes));
            }
            if (entry->tag == 0x8769 || entry->tag == 0x8825 || entry->tag == 0xA005)
                enqueue(tiff.subIfd(*entry));
        }
        enqueue(tiff.nextIfd(ifd));
    }
}

} // namespace

int FuzzEntries::byteReader(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    JpegSegmentReader segments(bytes);
    std::size_t end = 0;
    while (const auto segment = segments.next()) {
        require(segment->offset >= end && segment->end > segment->offset && segment->end <= size);
        require(segment->payload.empty() ||
                (within(segment->payload, bytes) &&
                 segment->payload.data() + segment->payload.size() == data + segment->end));
        end = segment->end;
        const auto payload = segment->payload;
        if (segment->marker == JPEG_MARKER_APP1 && payload.size() >= 6 &&
            std::memcmp(payload.data(), "Exif\0\0", 6) == 0)
            walkTiff(payload.subspan(6));
    }
    walkTiff(bytes);
    return 0;
}

int FuzzEntries::jpegSections(const std::uint8_t* data, std::size_t size) {
    if (size > 0xFFFFFFu)
        return 0;
    JPEGData* jpeg = jpeg_data_new_from_data(data, static_cast<unsigned int>(size));
    ExifData* exif = jpeg_data_get_exif_data(jpeg);
    unsigned char* saved = nullptr;
    unsigned int savedSize = 0;
    jpeg_data_save_data(jpeg, &saved, &savedSize);
    if (saved) {
        JPEGData* again = jpeg_data_new_from_data(saved, savedSize);
        if (exif)
            jpeg_data_set_exif_data(again, exif);
        unsigned char* twice = nullptr;
        unsigned int twiceSize = 0;
        jpeg_data_save_data(again, &twice, &twiceSize);
        std::free(twice);
        jpeg_data_unref(again);
        std::free(saved);
    }
    ExifData* empty = ExifDataIO::newExifData();
    jpeg_data_set_exif_data(jpeg, empty);
    exif_data_unref(empty);
    if (exif)
        exif_data_unref(exif);
    for (unsigned int i = 0; jpeg && i < jpeg->count; ++i) {
        jpeg_marker_get_name(jpeg->sections[i].marker);
        jpeg_marker_get_description(jpeg->sections[i].marker);
    }
    jpeg_data_unref(jpeg);
    return 0;
}

int FuzzEntries::exifOrient(const std::uint8_t* data, std::size_t size) {
    ScratchFile file(data, size);
    if (!file.ok())
        return 0;
    unsigned char value = 0;
    exif_orient(file.nativePath().constData(), &value);
    value = 1;
    exif_orient(file.nativePath().constData(), &value);
    if (QFileInfo(file.path()).size() != qint64(size))
        std::abort(); // patching in place must never change the file's size
    return 0;
}

int FuzzEntries::exifRead(const std::uint8_t* data, std::size_t size) {
    ExifData* parsed = ExifDataIO::loadExifData(data, size);
    if (parsed)
        exif_data_unref(parsed);
    ExifDateReader::digitizedIn(std::span(data, size));
    ScratchFile file(data, size);
    if (!file.ok())
        return 0;
    Exif exif(file.path());
    for (int tag : kTagsRead)
        exif.getTagValue(tag);
    Exif::getExifThumbnail(file.path());
    ImageUtils::getCreationDateForImage(file.path());
    return 0;
}

int FuzzEntries::thumbnail(const std::uint8_t* data, std::size_t size) {
    ThumbnailMaker::thumbnailFromBytes(
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size)), 256);
    return 0;
}

int FuzzEntries::pictureDecoder(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    {
        RawPictureReader raw(bytes);
        const PictureMetadata metadata = raw.metadata();
        raw.previewSize();
        raw.embeddedPreview(QSize(64, 64));
        // Demosaicing a large declared sensor is slow, not unsafe.
        if (qint64(metadata.size.width()) * metadata.size.height() <= 1 << 20)
            raw.demosaiced(QSize(64, 64));
    }
    {
        const HeifPictureReader heif(bytes);
        heif.metadata();
        heif.decoded(QSize(64, 64));
    }
    PictureDecoder::Request request;
    request.pixels = 64;
    request.demosaicRaw = false;
    PictureDecoder::decode(bytes, request);
    return 0;
}

int FuzzEntries::thumbnailPng(const std::uint8_t* data, std::size_t size) {
    ThumbnailPng::decode(std::span(data, size), 1024);
    return 0;
}
