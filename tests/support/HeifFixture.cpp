// SPDX-License-Identifier: GPL-3.0-or-later
#include "HeifFixture.h"

#include "ExifBuilder.h"
#include "TestFiles.h"

#include <libheif/heif.h>

#include <cstring>
#include <memory>

namespace {

struct ContextFree {
    void operator()(heif_context* context) const { heif_context_free(context); }
};
struct EncoderRelease {
    void operator()(heif_encoder* encoder) const { heif_encoder_release(encoder); }
};
struct ImageRelease {
    void operator()(heif_image* image) const { heif_image_release(image); }
};
struct HandleRelease {
    void operator()(heif_image_handle* handle) const { heif_image_handle_release(handle); }
};

heif_error appendTo(heif_context*, const void* data, size_t size, void* userdata) {
    static_cast<QByteArray*>(userdata)->append(static_cast<const char*>(data), qsizetype(size));
    return heif_error{heif_error_Ok, heif_suberror_Unspecified, ""};
}

std::unique_ptr<heif_image, ImageRelease> pixels(const HeifFixture::Options& options) {
    heif_image* raw = nullptr;
    const QImage picture = options.picture.convertToFormat(QImage::Format_RGB888);
    const QSize size = picture.isNull() ? options.size : picture.size();
    if (heif_image_create(size.width(), size.height(), heif_colorspace_RGB,
                          heif_chroma_interleaved_RGB, &raw)
            .code != heif_error_Ok)
        return nullptr;
    std::unique_ptr<heif_image, ImageRelease> image(raw);
    heif_image_add_plane(raw, heif_channel_interleaved, size.width(), size.height(), 8);
    int stride = 0;
    uint8_t* plane = heif_image_get_plane(raw, heif_channel_interleaved, &stride);
    if (!plane)
        return nullptr;
    if (!picture.isNull()) {
        for (int y = 0; y < size.height(); ++y)
            std::memcpy(plane + y * stride, picture.constScanLine(y),
                        std::size_t(size.width()) * 3);
        return image;
    }
    for (int y = 0; y < size.height(); ++y)
        for (int x = 0; x < size.width(); ++x) {
            const QColor color = x < size.width() / 2 ? options.left : options.right;
            uint8_t* pixel = plane + y * stride + x * 3;
            pixel[0] = uint8_t(color.red());
            pixel[1] = uint8_t(color.green());
            pixel[2] = uint8_t(color.blue());
        }
    return image;
}

std::vector<unsigned char> exifTiff(const HeifFixture::Options& options) {
    ExifBuilder exif;
    if (options.taken.isValid())
        exif.addText(EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL,
                     options.taken.toString(QStringLiteral("yyyy:MM:dd HH:mm:ss")).toStdString());
    if (!options.make.isEmpty())
        exif.addText(EXIF_IFD_0, EXIF_TAG_MAKE, options.make.toStdString());
    if (options.orientation)
        exif.addShort(EXIF_IFD_0, EXIF_TAG_ORIENTATION, options.orientation);
    std::vector<unsigned char> block = exif.payload();
    // libheif takes the TIFF structure without the "Exif\0\0" header.
    if (block.size() > 6)
        block.erase(block.begin(), block.begin() + 6);
    return block;
}

} // namespace

bool HeifFixture::canEncode(QString* reason) {
    if (heif_have_encoder_for_format(heif_compression_HEVC))
        return true;
    if (reason)
        *reason = QStringLiteral("this libheif has no HEVC encoder");
    return false;
}

QByteArray HeifFixture::heic(const Options& options) {
    if (!canEncode())
        return QByteArray();
    const std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    heif_encoder* rawEncoder = nullptr;
    if (!context ||
        heif_context_get_encoder_for_format(context.get(), heif_compression_HEVC, &rawEncoder)
                .code != heif_error_Ok)
        return QByteArray();
    const std::unique_ptr<heif_encoder, EncoderRelease> encoder(rawEncoder);
    heif_encoder_set_lossy_quality(encoder.get(), 90);
    const auto image = pixels(options);
    heif_image_handle* rawHandle = nullptr;
    if (!image ||
        heif_context_encode_image(context.get(), image.get(), encoder.get(), nullptr, &rawHandle)
                .code != heif_error_Ok)
        return QByteArray();
    const std::unique_ptr<heif_image_handle, HandleRelease> handle(rawHandle);
    const std::vector<unsigned char> exif = exifTiff(options);
    if ((options.taken.isValid() || !options.make.isEmpty() || options.orientation) &&
        heif_context_add_exif_metadata(context.get(), handle.get(), exif.data(), int(exif.size()))
                .code != heif_error_Ok)
        return QByteArray();
    if (options.thumbnailSide > 0) {
        heif_image_handle* thumbnail = nullptr;
        heif_context_encode_thumbnail(context.get(), image.get(), handle.get(), encoder.get(),
                                      nullptr, options.thumbnailSide, &thumbnail);
        if (thumbnail)
            heif_image_handle_release(thumbnail);
    }
    QByteArray bytes;
    heif_writer writer{1, &appendTo};
    if (heif_context_write(context.get(), &writer, &bytes).code != heif_error_Ok)
        return QByteArray();
    return bytes;
}

bool HeifFixture::write(const QString& path, const Options& options) {
    const QByteArray bytes = heic(options);
    return !bytes.isEmpty() && TestFiles::write(path, bytes);
}
