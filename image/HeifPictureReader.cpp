// SPDX-License-Identifier: GPL-3.0-or-later
#include "HeifPictureReader.h"

#include "DecodeLimits.h"
#include "Exif.h"
#include "ExifDataIO.h"

#include <QFile>
#include <QtEndian>

#include <libheif/heif.h>

#include <cstddef>

namespace {

// libheif refuses pictures wider or taller than this before allocating;
// the pixel count is checked against DecodeLimits besides.
constexpr int kMaxSide = 65535;
// Cameras write a few kilobytes of EXIF; a larger block is a forgery.
constexpr std::size_t kMaxExifBytes = 1 << 20;
// A JPEG carries at most 255 chunks of a profile (about 16 MB); real ones
// are a few kilobytes.
constexpr std::size_t kMaxIccBytes = 4 << 20;

void initializeOnce() {
    // Registers the decoder plugins; kept for the process's life.
    [[maybe_unused]] static const bool initialized = (heif_init(nullptr), true);
}

struct HandleRelease {
    void operator()(const heif_image_handle* handle) const { heif_image_handle_release(handle); }
};
struct ImageRelease {
    void operator()(const heif_image* image) const { heif_image_release(image); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* options) const { heif_decoding_options_free(options); }
};

QSize handleSize(const heif_image_handle* handle) {
    return QSize(heif_image_handle_get_width(handle), heif_image_handle_get_height(handle));
}

QImage decodeHandle(const heif_image_handle* handle) {
    if (!DecodeLimits::acceptableSize(handleSize(handle)))
        return QImage();
    const bool alpha = heif_image_handle_has_alpha_channel(handle);
    const std::unique_ptr<heif_decoding_options, OptionsFree> options(
        heif_decoding_options_alloc());
    if (!options)
        return QImage();
    // Rotation, mirroring and cropping from the file are applied here.
    options->ignore_transformations = 0;
    heif_image* raw = nullptr;
    const heif_error error = heif_decode_image(
        handle, &raw, heif_colorspace_RGB,
        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    const std::unique_ptr<heif_image, ImageRelease> image(raw);
    if (error.code != heif_error_Ok || !image)
        return QImage();
    const QSize size(heif_image_get_width(image.get(), heif_channel_interleaved),
                     heif_image_get_height(image.get(), heif_channel_interleaved));
    int stride = 0;
    const uint8_t* plane =
        heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    if (!plane || !DecodeLimits::acceptableSize(size) || stride < size.width() * (alpha ? 4 : 3))
        return QImage();
    return QImage(plane, size.width(), size.height(), stride,
                  alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888)
        .copy();
}

} // namespace

HeifPictureReader::HeifPictureReader(const QString& path) {
    initializeOnce();
    heif_context* context = heif_context_alloc();
    open(context, context && heif_context_read_from_file(
                                 context, QFile::encodeName(path).constData(), nullptr)
                                     .code == heif_error_Ok);
}

HeifPictureReader::HeifPictureReader(const QByteArray& bytes)
    : m_bytes(bytes) {
    initializeOnce();
    heif_context* context = heif_context_alloc();
    open(context, context && !m_bytes.isEmpty() &&
                      heif_context_read_from_memory_without_copy(
                          context, m_bytes.constData(), std::size_t(m_bytes.size()), nullptr)
                              .code == heif_error_Ok);
}

HeifPictureReader::~HeifPictureReader() = default;

void HeifPictureReader::open(heif_context* context, bool read) {
    if (!context)
        return;
    m_context.reset(context, heif_context_free);
    heif_context_set_maximum_image_size_limit(context, kMaxSide);
    heif_image_handle* primary = nullptr;
    if (!read || heif_context_get_primary_image_handle(context, &primary).code != heif_error_Ok ||
        !primary)
        return;
    m_primary.reset(primary, HandleRelease());
    if (!DecodeLimits::acceptableSize(handleSize(primary)))
        m_primary.reset();
}

bool HeifPictureReader::looksLikeHeif(const QByteArray& head) {
    if (head.size() < 12)
        return false;
    const heif_filetype_result type =
        heif_check_filetype(reinterpret_cast<const uint8_t*>(head.constData()), int(head.size()));
    return type == heif_filetype_yes_supported || type == heif_filetype_yes_unsupported;
}

QByteArray HeifPictureReader::exifBlock() const {
    if (!m_primary)
        return QByteArray();
    heif_item_id id = 0;
    if (heif_image_handle_get_list_of_metadata_block_IDs(m_primary.get(), "Exif", &id, 1) < 1)
        return QByteArray();
    const std::size_t size = heif_image_handle_get_metadata_size(m_primary.get(), id);
    if (size < 4 || size > kMaxExifBytes)
        return QByteArray();
    QByteArray block(qsizetype(size), Qt::Uninitialized);
    if (heif_image_handle_get_metadata(m_primary.get(), id, block.data()).code != heif_error_Ok)
        return QByteArray();
    // The block starts with the offset of the TIFF header after these four
    // bytes (what lies between is usually "Exif\0\0").
    const quint32 offset = qFromBigEndian<quint32>(block.constData());
    if (offset > std::size_t(block.size()) - 4)
        return QByteArray();
    return QByteArrayLiteral("Exif\0\0") + block.mid(4 + qsizetype(offset));
}

QByteArray HeifPictureReader::iccProfile() const {
    if (!m_primary)
        return QByteArray();
    const heif_color_profile_type type = heif_image_handle_get_color_profile_type(m_primary.get());
    if (type != heif_color_profile_type_prof && type != heif_color_profile_type_rICC)
        return QByteArray();
    const std::size_t size = heif_image_handle_get_raw_color_profile_size(m_primary.get());
    if (size == 0 || size > kMaxIccBytes)
        return QByteArray();
    QByteArray profile(qsizetype(size), Qt::Uninitialized);
    if (heif_image_handle_get_raw_color_profile(m_primary.get(), profile.data()).code !=
        heif_error_Ok)
        return QByteArray();
    return profile;
}

QSize HeifPictureReader::size() const {
    // libheif reports sizes after the file's rotation.
    return m_primary ? handleSize(m_primary.get()) : QSize();
}

PictureMetadata HeifPictureReader::metadata() const {
    PictureMetadata metadata;
    if (!m_primary)
        return metadata;
    metadata.size = size();
    const QByteArray block = exifBlock();
    if (block.isEmpty())
        return metadata;
    const Exif exif(ExifDataPtr(ExifDataIO::loadExifData(
        reinterpret_cast<const unsigned char*>(block.constData()), std::size_t(block.size()))));
    for (const int tag : {36867, 36868, 306}) {
        metadata.taken = Exif::parseExifDate(exif.getTagValue(tag));
        if (metadata.taken.isValid())
            break;
    }
    metadata.make = exif.getTagValue(0x010F).trimmed();
    metadata.model = exif.getTagValue(0x0110).trimmed();
    return metadata;
}

QImage HeifPictureReader::decoded(const QSize& atLeast, bool* fromThumbnail) const {
    if (fromThumbnail)
        *fromThumbnail = false;
    if (!m_primary)
        return QImage();
    if (atLeast.isValid()) {
        heif_item_id id = 0;
        heif_image_handle* thumbnail = nullptr;
        if (heif_image_handle_get_list_of_thumbnail_IDs(m_primary.get(), &id, 1) == 1 &&
            heif_image_handle_get_thumbnail(m_primary.get(), id, &thumbnail).code ==
                heif_error_Ok &&
            thumbnail) {
            const std::unique_ptr<const heif_image_handle, HandleRelease> owned(thumbnail);
            const QSize size = handleSize(thumbnail);
            if (size.width() >= atLeast.width() && size.height() >= atLeast.height()) {
                const QImage image = decodeHandle(thumbnail);
                if (!image.isNull()) {
                    if (fromThumbnail)
                        *fromThumbnail = true;
                    return image;
                }
            }
        }
    }
    return decodeHandle(m_primary.get());
}
