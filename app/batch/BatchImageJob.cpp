// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchImageJob.h"

#include "BatchMetadata.h"

#include "DecodeLimits.h"
#include "HeifPictureReader.h"
#include "ImageTransformOps.h"
#include "ImageUtils.h"
#include "JpegCompression.h"
#include "LanczosScaler.h"
#include "OpenedPath.h"
#include "PictureDecoder.h"
#include "RawPictureReader.h"

#include <QBuffer>
#include <QColorSpace>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageWriter>
#include <QPainter>

#include <turbojpeg.h>

#include <algorithm>
#include <memory>

namespace {

enum class Kind { Jpeg, Png };

struct Decoded {
    QImage image; // as stored: not yet turned by `orientation`
    int orientation = 0;
    QSize target; // the output size, upright
    BatchMetadata metadata;
    QString reason;
};

QString tr(const char* text) {
    return QCoreApplication::translate("BatchImageJob", text);
}

bool isTransposing(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

// The output size for an upright size, refused when enlarging would make
// a picture no reader of ours would take back.
bool settleTarget(Decoded& decoded, const QSize& upright, const BatchOptions& options) {
    decoded.target = options.resizedSize(upright);
    if (!DecodeLimits::acceptableSize(decoded.target)) {
        decoded.reason = tr("the resized picture would be too large (%1 x %2 pixels)")
                             .arg(decoded.target.width())
                             .arg(decoded.target.height());
        return false;
    }
    return true;
}

// Decoded at no more than twice the output size (a JPEG at a DCT scale, a
// RAW file from its preview where that is large enough), so the filter
// does the rest; a JPEG is turned after resizing, the cheaper turn.
Decoded decodePicture(const QByteArray& bytes, PictureDecoder::Format format,
                      const BatchOptions& options) {
    [[maybe_unused]] static const bool allowed = (DecodeLimits::allowLargePhotographs(), true);
    Decoded decoded;
    if (format == PictureDecoder::Format::Jpeg) {
        decoded.metadata = BatchMetadata::fromJpeg(bytes);
    } else if (format == PictureDecoder::Format::Heif) {
        const HeifPictureReader heif(bytes);
        decoded.metadata = BatchMetadata::fromBlocks(heif.exifBlock(), heif.iccProfile());
    } else if (format == PictureDecoder::Format::Raw) {
        decoded.metadata = BatchMetadata::fromPictureMetadata(RawPictureReader(bytes).metadata());
    }
    PictureDecoder::Request request;
    request.upright = false;
    request.fitExactly = false;
    request.pixelsFor = [&decoded, &options](const QSize& upright) {
        if (!settleTarget(decoded, upright, options))
            return -1;
        return decoded.target == upright
                   ? 0
                   : 2 * std::max(decoded.target.width(), decoded.target.height());
    };
    const PictureDecoder::Result picture = PictureDecoder::decode(bytes, request, format);
    decoded.image = picture.image;
    decoded.orientation = picture.orientation;
    // Unresized, a picture keeps the size it decodes at (a RAW file's
    // demosaiced size may differ from the size it declares).
    if (options.resize == BatchOptions::Resize::None && !decoded.image.isNull())
        decoded.target = isTransposing(decoded.orientation) ? decoded.image.size().transposed()
                                                            : decoded.image.size();
    switch (picture.failure) {
    case PictureDecoder::Failure::None:
        break;
    case PictureDecoder::Failure::NotAPicture:
        decoded.reason = tr("not a picture that can be decoded");
        break;
    case PictureDecoder::Failure::TooLarge:
        decoded.reason = tr("too large or too complex to decode (%1 x %2 pixels)")
                             .arg(picture.originalSize.width())
                             .arg(picture.originalSize.height());
        break;
    case PictureDecoder::Failure::Refused: // the reason is settleTarget's
        break;
    case PictureDecoder::Failure::Damaged:
        decoded.reason = tr("cannot be decoded");
        break;
    }
    // The profile travels as bytes, so Qt's writers add none of their own.
    if (format != PictureDecoder::Format::Jpeg && format != PictureDecoder::Format::Heif)
        decoded.metadata.setIccProfile(decoded.image.colorSpace().iccProfile());
    decoded.image.setColorSpace(QColorSpace());
    return decoded;
}

QImage flattened(const QImage& image) {
    if (image.format() == QImage::Format_Grayscale8 || image.format() == QImage::Format_RGB888)
        return image;
    if (image.format() == QImage::Format_Grayscale16)
        return image.convertToFormat(QImage::Format_Grayscale8);
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB888);
    // JPEG has no transparency: what was see-through shows white.
    QImage opaque(image.size(), QImage::Format_RGB32);
    opaque.fill(Qt::white);
    QPainter painter(&opaque);
    painter.drawImage(0, 0, image);
    painter.end();
    return opaque.convertToFormat(QImage::Format_RGB888);
}

QByteArray encodeJpeg(const QImage& image, double jpegCompression) {
    const QImage pixels = flattened(image);
    if (pixels.isNull())
        return QByteArray();
    const std::unique_ptr<void, int (*)(tjhandle)> encoder(tjInitCompress(), tjDestroy);
    if (!encoder)
        return QByteArray();
    const bool gray = pixels.format() == QImage::Format_Grayscale8;
    unsigned char* out = nullptr;
    unsigned long size = 0;
    if (tjCompress2(encoder.get(), pixels.constBits(), pixels.width(), int(pixels.bytesPerLine()),
                    pixels.height(), gray ? TJPF_GRAY : TJPF_RGB, &out, &size,
                    gray ? TJSAMP_GRAY : TJSAMP_420,
                    JpegCompression::qualityFromSetting(jpegCompression), 0) != 0) {
        tjFree(out);
        return QByteArray();
    }
    QByteArray bytes(reinterpret_cast<const char*>(out), qsizetype(size));
    tjFree(out);
    return bytes;
}

QByteArray encodePng(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, QByteArrayLiteral("PNG"));
    return writer.write(image) ? bytes : QByteArray();
}

} // namespace

BatchImageJob::Result BatchImageJob::process(const QString& source, const BatchOptions& options,
                                             const std::atomic<bool>& abandon) {
    Result result;
    Kind kind = Kind::Jpeg;
    if (options.format == BatchOptions::Format::Png)
        kind = Kind::Png;
    else if (options.format == BatchOptions::Format::Same) {
        if (ImageUtils::looksLikePng(source) && !ImageUtils::looksLikeJpeg(source))
            kind = Kind::Png;
        else if (!ImageUtils::looksLikeJpeg(source)) {
            result.reason = tr("only JPEG and PNG pictures can be written in their own format");
            return result;
        }
    }

    QByteArray bytes;
    {
        const OpenedPath opened(source);
        QFile file(opened.path());
        if (opened.path().isEmpty() || !QFileInfo(opened.path()).isFile() ||
            !file.open(QIODevice::ReadOnly)) {
            result.reason = tr("cannot be read (%1)").arg(file.errorString());
            return result;
        }
        bytes = file.readAll();
        if (file.error() != QFileDevice::NoError) {
            result.reason = tr("cannot be read (%1)").arg(file.errorString());
            return result;
        }
    }
    if (abandon.load())
        return result;

    const PictureDecoder::Format format = PictureDecoder::formatOf(source, bytes.left(64));
    Decoded decoded = decodePicture(bytes, format, options);
    bytes.clear();
    if (decoded.image.isNull()) {
        result.reason = decoded.reason.isEmpty() ? tr("cannot be decoded") : decoded.reason;
        return result;
    }
    if (abandon.load())
        return result;

    const QSize stored =
        isTransposing(decoded.orientation) ? decoded.target.transposed() : decoded.target;
    QImage picture = decoded.image.size() == stored ? decoded.image
                                                    : LanczosScaler::scaled(decoded.image, stored);
    decoded.image = QImage();
    // Turned after resizing: the smaller picture is the cheaper turn.
    picture = ImageTransformOps::orientedUpright(picture, decoded.orientation);
    if (picture.isNull()) {
        result.reason = tr("not enough memory to resize it");
        return result;
    }
    if (abandon.load())
        return result;

    if (kind == Kind::Png) {
        result.bytes = BatchMetadata::pngWith(encodePng(picture), decoded.metadata.iccProfile());
    } else {
        QByteArray exif;
        if (options.copyExif) {
            const std::optional<QByteArray> block = decoded.metadata.exifFor(picture);
            if (!block) {
                result.reason = tr("its EXIF data does not fit into a JPEG file");
                return result;
            }
            exif = *block;
        }
        result.bytes = BatchMetadata::jpegWith(encodeJpeg(picture, options.jpegCompression), exif,
                                               decoded.metadata.iccProfile());
    }
    if (result.bytes.isEmpty())
        result.reason = tr("cannot be encoded");
    result.size = picture.size();
    return result;
}
