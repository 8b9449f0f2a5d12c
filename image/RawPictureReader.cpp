// SPDX-License-Identifier: GPL-3.0-or-later
#include "RawPictureReader.h"

#include "DecodeLimits.h"
#include "ImageTransformOps.h"
#include "ScaledJpegReader.h"

#include <QFile>

#include <libraw.h>

#include <cmath>
#include <limits>

namespace {

// What libraw may allocate for one picture: the raw data of a 200 MP
// sensor in 16 bits, with room for its working buffers.
constexpr unsigned kMaxRawMemoryMb = 1024;
// Full-size previews of the largest sensors are a few tens of megabytes.
constexpr unsigned kMaxPreviewBytes = 64u << 20;

// libraw's flip (bit 2 transposes, bit 1 mirrors rows, bit 0 columns) as the
// EXIF orientation of the stored pixels.
int orientationFromFlip(int flip) {
    static constexpr int kOrientations[8] = {1, 2, 4, 3, 5, 8, 6, 7};
    return kOrientations[flip & 7];
}

bool isTransposing(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

QString text(const char* field, std::size_t capacity) {
    return QString::fromLatin1(field, qstrnlen(field, uint(capacity))).trimmed();
}

struct MemImage {
    void operator()(libraw_processed_image_t* image) const { LibRaw::dcraw_clear_mem(image); }
};

} // namespace

RawPictureReader::RawPictureReader(const QString& path)
    : m_path(path)
    , m_raw(std::make_unique<LibRaw>(LIBRAW_OPIONS_NO_DATAERR_CALLBACK)) {
    open();
}

RawPictureReader::RawPictureReader(const QByteArray& bytes)
    : m_bytes(bytes)
    , m_raw(std::make_unique<LibRaw>(LIBRAW_OPIONS_NO_DATAERR_CALLBACK)) {
    if (!m_bytes.isEmpty())
        open();
}

RawPictureReader::~RawPictureReader() = default;

void RawPictureReader::open() {
    m_raw->recycle();
    m_raw->imgdata.params.max_raw_memory_mb = kMaxRawMemoryMb;
    // libraw only reads the buffer; its interface predates const.
    const int status = m_path.isEmpty() ? m_raw->open_buffer(const_cast<char*>(m_bytes.constData()),
                                                             std::size_t(m_bytes.size()))
                                        : m_raw->open_file(QFile::encodeName(m_path).constData());
    const auto& sizes = m_raw->imgdata.sizes;
    m_valid = status == LIBRAW_SUCCESS &&
              DecodeLimits::acceptableSize(QSize(sizes.raw_width, sizes.raw_height)) &&
              DecodeLimits::acceptableSize(QSize(sizes.width, sizes.height));
    m_unpackFailed = false;
}

int RawPictureReader::orientation() const {
    return m_valid ? orientationFromFlip(m_raw->imgdata.sizes.flip) : 0;
}

PictureMetadata RawPictureReader::metadata() const {
    PictureMetadata metadata;
    if (!m_valid)
        return metadata;
    const libraw_data_t& data = m_raw->imgdata;
    const QSize stored(data.sizes.width, data.sizes.height);
    metadata.size = isTransposing(orientation()) ? stored.transposed() : stored;
    if (data.other.timestamp > 0)
        metadata.taken = QDateTime::fromSecsSinceEpoch(qint64(data.other.timestamp));
    metadata.make = text(data.idata.make, sizeof data.idata.make);
    metadata.model = text(data.idata.model, sizeof data.idata.model);
    if (std::isfinite(data.other.shutter) && data.other.shutter > 0)
        metadata.exposureSeconds = data.other.shutter;
    if (std::isfinite(data.other.aperture) && data.other.aperture > 0)
        metadata.fNumber = data.other.aperture;
    if (std::isfinite(data.other.focal_len) && data.other.focal_len > 0)
        metadata.focalLength = data.other.focal_len;
    if (std::isfinite(data.other.iso_speed) && data.other.iso_speed > 0 &&
        data.other.iso_speed < 1e7f)
        metadata.iso = int(std::lround(data.other.iso_speed));
    return metadata;
}

QSize RawPictureReader::previewSize() const {
    if (!m_valid)
        return QSize();
    const auto& thumbnail = m_raw->imgdata.thumbnail;
    const QSize stored(thumbnail.twidth, thumbnail.theight);
    if (thumbnail.tlength == 0 || stored.isEmpty())
        return QSize();
    return isTransposing(orientation()) ? stored.transposed() : stored;
}

QImage RawPictureReader::embeddedPreview(const QSize& atLeast) {
    if (m_unpackFailed)
        open();
    // The format is known only once unpacked; the length is declared.
    if (!m_valid || m_raw->imgdata.thumbnail.tlength == 0 ||
        m_raw->imgdata.thumbnail.tlength > kMaxPreviewBytes)
        return QImage();
    if (m_raw->unpack_thumb() != LIBRAW_SUCCESS)
        return QImage();
    const auto& thumbnail = m_raw->imgdata.thumbnail;
    if (!thumbnail.thumb || thumbnail.tlength == 0)
        return QImage();
    QImage stored;
    if (thumbnail.tformat == LIBRAW_THUMBNAIL_JPEG) {
        const QByteArray jpeg =
            QByteArray::fromRawData(thumbnail.thumb, qsizetype(thumbnail.tlength));
        if (!DecodeLimits::acceptableJpeg(jpeg))
            return QImage();
        const QSize scale = isTransposing(orientation()) ? atLeast.transposed() : atLeast;
        // No scale asked for: the full size.
        constexpr int kAll = std::numeric_limits<int>::max();
        stored = ScaledJpegReader::read(jpeg, scale.isValid() ? scale : QSize(kAll, kAll));
    } else if (thumbnail.tformat == LIBRAW_THUMBNAIL_BITMAP && thumbnail.tcolors == 3) {
        const QSize size(thumbnail.twidth, thumbnail.theight);
        if (!DecodeLimits::acceptableSize(size) ||
            qint64(thumbnail.tlength) < qint64(size.width()) * size.height() * 3)
            return QImage();
        stored = QImage(reinterpret_cast<const uchar*>(thumbnail.thumb), size.width(),
                        size.height(), size.width() * 3, QImage::Format_RGB888)
                     .copy();
    }
    return ImageTransformOps::orientedUpright(stored, orientation());
}

QImage RawPictureReader::demosaiced(const QSize& atLeast) {
    if (!m_valid)
        return QImage();
    libraw_output_params_t& params = m_raw->imgdata.params;
    const QSize full = metadata().size;
    params.half_size = atLeast.isValid() && full.width() / 2 >= atLeast.width() &&
                       full.height() / 2 >= atLeast.height();
    params.use_camera_wb = 1;
    params.output_bps = 8;
    if (m_raw->unpack() != LIBRAW_SUCCESS || m_raw->dcraw_process() != LIBRAW_SUCCESS) {
        m_unpackFailed = true;
        return QImage();
    }
    int status = LIBRAW_SUCCESS;
    // The rows come out turned by libraw's flip: upright already.
    const std::unique_ptr<libraw_processed_image_t, MemImage> image(
        m_raw->dcraw_make_mem_image(&status));
    if (!image || status != LIBRAW_SUCCESS || image->type != LIBRAW_IMAGE_BITMAP ||
        image->colors != 3 || image->bits != 8)
        return QImage();
    const QSize size(image->width, image->height);
    if (size.isEmpty() || qint64(image->data_size) < qint64(size.width()) * size.height() * 3)
        return QImage();
    return QImage(image->data, size.width(), size.height(), size.width() * 3, QImage::Format_RGB888)
        .copy();
}
