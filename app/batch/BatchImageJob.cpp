// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchImageJob.h"

#include "BatchMetadata.h"

#include "DecodeLimits.h"
#include "ImageTransformOps.h"
#include "ImageUtils.h"
#include "JpegCompression.h"
#include "LanczosScaler.h"
#include "OpenedPath.h"
#include "PictureDecoder.h"
#include "ScaledJpegReader.h"

#include <QBuffer>
#include <QColorSpace>
#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
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

// Another format, or a JPEG libjpeg-turbo cannot turn into RGB (CMYK):
// through Qt's readers, with the declared size checked before decoding.
Decoded decodeWithQt(const QByteArray& bytes, bool jpeg) {
    static const bool allowed = (DecodeLimits::allowLargePhotographs(), true);
    Q_UNUSED(allowed);
    Decoded decoded;
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    // A JPEG's orientation is ours to apply (its EXIF is read anyway).
    reader.setAutoTransform(!jpeg);
    const QSize declared = reader.size();
    if (!DecodeLimits::acceptableSize(declared)) {
        decoded.reason = declared.isValid() ? tr("too large to decode (%1 x %2 pixels)")
                                                  .arg(declared.width())
                                                  .arg(declared.height())
                                            : tr("not a picture that can be decoded");
        return decoded;
    }
    decoded.image = reader.read();
    if (decoded.image.isNull()) {
        decoded.reason = tr("cannot be decoded (%1)").arg(reader.errorString());
        return decoded;
    }
    // The profile travels as bytes, so Qt's writers add none of their own.
    if (!jpeg)
        decoded.metadata.setIccProfile(decoded.image.colorSpace().iccProfile());
    decoded.image.setColorSpace(QColorSpace());
    return decoded;
}

Decoded decodeJpeg(const QByteArray& bytes, const BatchOptions& options) {
    Decoded decoded;
    decoded.metadata = BatchMetadata::fromJpeg(bytes);
    decoded.orientation = decoded.metadata.orientation();
    const QSize stored = ScaledJpegReader::storedSize(bytes);
    if (!stored.isValid()) {
        decoded.reason = tr("not a JPEG picture that can be decoded");
        return decoded;
    }
    if (!DecodeLimits::acceptableJpeg(bytes)) {
        decoded.reason = tr("too large or too complex to decode (%1 x %2 pixels)")
                             .arg(stored.width())
                             .arg(stored.height());
        return decoded;
    }
    const bool transposing = isTransposing(decoded.orientation);
    if (!settleTarget(decoded, transposing ? stored.transposed() : stored, options))
        return decoded;
    // At least twice the output size, so the filter does the rest.
    const QSize target = transposing ? decoded.target.transposed() : decoded.target;
    const QSize atLeast = target == stored ? stored : (target * 2).boundedTo(stored);
    decoded.image = ScaledJpegReader::read(bytes, atLeast);
    if (decoded.image.isNull()) {
        Decoded fallback = decodeWithQt(bytes, true);
        fallback.metadata = std::move(decoded.metadata);
        fallback.orientation = decoded.orientation;
        fallback.target = decoded.target;
        return fallback;
    }
    return decoded;
}

// RAW and HEIF files through the picture decoder, upright already: a RAW
// file's embedded preview when it is as large as the raw data, else the
// raw data demosaiced.
Decoded decodePicture(const QByteArray& bytes, PictureDecoder::Format format) {
    Decoded decoded;
    decoded.image = PictureDecoder::decode(bytes, PictureDecoder::Request(), format).image;
    if (decoded.image.isNull())
        decoded.reason = tr("not a picture that can be decoded");
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
    Decoded decoded =
        format == PictureDecoder::Format::Raw || format == PictureDecoder::Format::Heif
            ? decodePicture(bytes, format)
        : bytes.startsWith("\xFF\xD8\xFF") ? decodeJpeg(bytes, options)
                                           : decodeWithQt(bytes, false);
    bytes.clear();
    if (decoded.image.isNull()) {
        result.reason = decoded.reason.isEmpty() ? tr("cannot be decoded") : decoded.reason;
        return result;
    }
    if (decoded.target.isEmpty() && !settleTarget(decoded, decoded.image.size(), options)) {
        result.reason = decoded.reason;
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
