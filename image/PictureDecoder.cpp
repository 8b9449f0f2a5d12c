// SPDX-License-Identifier: GPL-3.0-or-later
#include "PictureDecoder.h"

#include "DecodeLimits.h"
#include "Exif.h"
#include "ExifDataIO.h"
#include "HeifPictureReader.h"
#include "ImageTransformOps.h"
#include "ImageUtils.h"
#include "LibexifHandles.h"
#include "RawPictureReader.h"
#include "ScaledJpegReader.h"

#include <FileUtils.h>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <optional>

namespace {

using Format = PictureDecoder::Format;
using Request = PictureDecoder::Request;
using Result = PictureDecoder::Result;
using Source = PictureDecoder::Source;

// An EXIF thumbnail lives in one 64 KB segment; a larger declared size is
// a forgery meant to make us allocate.
constexpr int kMaxEmbeddedSide = 4096;

// The size `size` takes in a square box of `pixels`; the whole size for 0.
QSize sizeToFit(const QSize& size, int pixels) {
    if (pixels <= 0 || (size.width() <= pixels && size.height() <= pixels))
        return size;
    return size.scaled(pixels, pixels, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

bool isTransposing(int orientation) {
    return orientation >= 5 && orientation <= 8;
}

bool covers(const QSize& size, const QSize& wanted) {
    return std::max(size.width(), size.height()) >= std::max(wanted.width(), wanted.height());
}

QImage embeddedThumbnail(ExifData* exif, int pixels) {
    if (!exif || !exif->data || exif->size == 0)
        return QImage();
    QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(exif->data), qsizetype(exif->size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    // IFD 1 holds JPEG thumbnails only; naming the format spares probing
    // every plugin.
    QImageReader reader(&buffer, QByteArrayLiteral("jpeg"));
    reader.setAutoTransform(false);
    const QSize declared = reader.size();
    if (!declared.isValid() || declared.width() > kMaxEmbeddedSide ||
        declared.height() > kMaxEmbeddedSide)
        return QImage();
    const QImage image = reader.read();
    if (image.isNull())
        return image;
    return ImageTransformOps::orientedUpright(PictureDecoder::scaledToFit(image, pixels),
                                              Exif::orientationOf(exif));
}

// Decoded at the smallest DCT scale that covers the size asked for. Empty
// when the bytes are no JPEG; a null image when the JPEG is refused or
// cannot be decoded (no other reader is to try it then: Qt's would hit
// the same buffers).
std::optional<QImage> jpegPicture(const QByteArray& bytes, int orientation, int pixels,
                                  QSize* originalSize) {
    const QSize stored = ScaledJpegReader::storedSize(bytes);
    if (!stored.isValid())
        return std::nullopt;
    if (!DecodeLimits::acceptableJpeg(bytes))
        return QImage();
    const QImage image = ScaledJpegReader::read(bytes, sizeToFit(stored, pixels));
    if (image.isNull())
        return image;
    *originalSize = isTransposing(orientation) ? stored.transposed() : stored;
    return ImageTransformOps::orientedUpright(PictureDecoder::scaledToFit(image, pixels),
                                              orientation);
}

Result readerPicture(QImageReader& reader, int pixels) {
    Result result;
    reader.setAutoTransform(true);
    const QSize declared = reader.size();
    if (!DecodeLimits::acceptableSize(declared))
        return result;
    // The scaled size is of the stored picture; the box is square, so the
    // turn that follows keeps it inside.
    const QSize target = sizeToFit(declared, pixels);
    if (target != declared && reader.supportsOption(QImageIOHandler::ScaledSize))
        reader.setScaledSize(target);
    const QImage image = reader.read();
    if (image.isNull())
        return result;
    result.source = Source::QtReader;
    result.originalSize = reader.transformation().testFlag(QImageIOHandler::TransformationRotate90)
                              ? declared.transposed()
                              : declared;
    result.image = PictureDecoder::scaledToFit(image, pixels);
    return result;
}

// The embedded preview when it covers the request (or when demosaicing is
// not wanted), else the raw data demosaiced.
Result rawPicture(RawPictureReader& raw, const Request& request) {
    Result result;
    if (!raw.isValid())
        return result;
    result.originalSize = raw.metadata().size;
    const QSize wanted = sizeToFit(result.originalSize, request.pixels);
    const QSize preview = raw.previewSize();
    const bool previewFirst =
        preview.isValid() && (covers(preview, wanted) || !request.demosaicRaw);
    if (previewFirst) {
        result.image = raw.embeddedPreview(wanted);
        result.source = Source::RawPreview;
    }
    if (result.image.isNull() && request.demosaicRaw) {
        result.image = raw.demosaiced(request.pixels > 0 ? wanted : QSize());
        result.source = Source::RawDemosaic;
    }
    // Raw data that does not decode: a small preview is better than none.
    if (result.image.isNull() && preview.isValid() && !previewFirst) {
        result.image = raw.embeddedPreview(wanted);
        result.source = Source::RawPreview;
    }
    if (result.image.isNull())
        return Result();
    result.image = PictureDecoder::scaledToFit(result.image, request.pixels);
    return result;
}

Result heifPicture(const HeifPictureReader& heif, const Request& request) {
    Result result;
    if (!heif.isValid())
        return result;
    result.originalSize = heif.size();
    result.image =
        heif.decoded(request.pixels > 0 ? sizeToFit(result.originalSize, request.pixels) : QSize());
    if (result.image.isNull())
        return Result();
    result.source = Source::Heif;
    result.image = PictureDecoder::scaledToFit(result.image, request.pixels);
    return result;
}

Result jpegOrExifPicture(ExifData* exif, const QByteArray& bytes, const Request& request,
                         bool* isJpeg) {
    Result result;
    if (request.exifThumbnail) {
        result.image = embeddedThumbnail(exif, request.pixels);
        if (!result.image.isNull()) {
            result.source = Source::ExifThumbnail;
            return result;
        }
    }
    const std::optional<QImage> jpeg =
        jpegPicture(bytes, Exif::orientationOf(exif), request.pixels, &result.originalSize);
    *isJpeg = jpeg.has_value();
    if (jpeg && !jpeg->isNull()) {
        result.image = *jpeg;
        result.source = Source::ScaledJpeg;
    } else {
        result.originalSize = QSize();
    }
    return result;
}

} // namespace

PictureDecoder::Format PictureDecoder::formatByName(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (FileUtils::rawExtensions().contains(suffix))
        return Format::Raw;
    if (FileUtils::heifExtensions().contains(suffix))
        return Format::Heif;
    return Format::Unknown;
}

PictureDecoder::Format PictureDecoder::formatOf(const QString& path) {
    if (const Format named = formatByName(path); named != Format::Unknown)
        return named;
    if (ImageUtils::looksLikeJpeg(path))
        return Format::Jpeg;
    QFile file(path);
    if (file.open(QIODevice::ReadOnly) && HeifPictureReader::looksLikeHeif(file.read(64)))
        return Format::Heif;
    return Format::Other;
}

PictureDecoder::Format PictureDecoder::formatOf(const QByteArray& head) {
    if (head.startsWith("\xFF\xD8\xFF"))
        return Format::Jpeg;
    if (HeifPictureReader::looksLikeHeif(head.left(64)))
        return Format::Heif;
    // Most RAW formats are TIFF structures; a few have their own magic.
    if (head.startsWith("II") || head.startsWith("MM") || head.startsWith("FUJIFILM") ||
        head.startsWith("FOVb") || head.mid(4, 8) == QByteArrayLiteral("ftypcrx "))
        return Format::Raw;
    return Format::Other;
}

PictureDecoder::Format PictureDecoder::formatOf(const QString& path, const QByteArray& head) {
    if (const Format named = formatByName(path); named != Format::Unknown)
        return named;
    const Format content = formatOf(head);
    return content == Format::Raw ? Format::Other : content;
}

PictureDecoder::Result PictureDecoder::decode(const QString& path, const Request& request,
                                              Format format) {
    // Not a FIFO or device that happens to carry an image's extension.
    if (!QFileInfo(path).isFile())
        return Result();
    if (format == Format::Unknown)
        format = formatOf(path);
    if (format == Format::Raw) {
        // Qt's TIFF reader would show a damaged RAW file's first directory
        // (often a tiny preview) as if it were the picture.
        RawPictureReader raw(path);
        return rawPicture(raw, request);
    } else if (format == Format::Heif) {
        return heifPicture(HeifPictureReader(path), request);
    } else {
        const ExifDataPtr exif(ExifDataIO::loadExifDataFromFile(path));
        if (request.exifThumbnail) {
            const QImage image = embeddedThumbnail(exif.get(), request.pixels);
            if (!image.isNull())
                return Result{image, Source::ExifThumbnail, QSize()};
        }
        if (format == Format::Jpeg) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                return Result();
            Request jpegOnly = request;
            jpegOnly.exifThumbnail = false;
            bool isJpeg = false;
            Result result = jpegOrExifPicture(exif.get(), file.readAll(), jpegOnly, &isJpeg);
            if (isJpeg)
                return result;
        }
    }
    // Another format, or a file named .jpg that is none.
    QImageReader reader(path);
    return readerPicture(reader, request.pixels);
}

PictureDecoder::Result PictureDecoder::decode(const QByteArray& bytes, const Request& request,
                                              Format format) {
    if (bytes.isEmpty())
        return Result();
    if (format == Format::Unknown)
        format = formatOf(bytes.left(64));
    if (format == Format::Jpeg) {
        const ExifDataPtr exif(ExifDataIO::loadExifData(
            reinterpret_cast<const unsigned char*>(bytes.constData()), std::size_t(bytes.size())));
        bool isJpeg = false;
        Result result = jpegOrExifPicture(exif.get(), bytes, request, &isJpeg);
        if (isJpeg || !result.image.isNull())
            return result;
    } else if (format == Format::Heif) {
        return heifPicture(HeifPictureReader(bytes), request);
    } else if (format == Format::Raw) {
        RawPictureReader raw(bytes);
        if (raw.isValid())
            return rawPicture(raw, request);
    }
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return readerPicture(reader, request.pixels);
}

QImage PictureDecoder::scaledToFit(const QImage& image, int pixels) {
    if (image.isNull() || pixels <= 0)
        return image;
    const QSize target = sizeToFit(image.size(), pixels);
    if (target == image.size())
        return image;
    return image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
