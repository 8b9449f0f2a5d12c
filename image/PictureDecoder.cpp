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

// The longer side wanted for an original of `upright` size; negative when
// the caller refuses it.
int pixelsWanted(const Request& request, const QSize& upright) {
    return request.pixelsFor ? request.pixelsFor(upright) : request.pixels;
}

QImage fitted(const QImage& image, const Request& request, int pixels) {
    return request.fitExactly ? PictureDecoder::scaledToFit(image, pixels) : image;
}

Result failed(PictureDecoder::Failure failure, const QSize& originalSize = QSize()) {
    Result result;
    result.failure = failure;
    result.originalSize = originalSize;
    return result;
}

Result thumbnailResult(const QImage& image) {
    Result result;
    result.image = image;
    result.source = Source::ExifThumbnail;
    return result;
}

// Through Qt's readers. A positive `orientationLeft` (a JPEG's, already
// read from its EXIF) is left for the caller to apply; else the reader
// turns the picture by the file's own metadata.
Result readerPicture(QImageReader& reader, const Request& request, int orientationLeft = 0) {
    reader.setAutoTransform(orientationLeft == 0);
    const QSize declared = reader.size();
    if (!declared.isValid())
        return failed(PictureDecoder::Failure::NotAPicture);
    const bool transposed =
        orientationLeft > 0
            ? isTransposing(orientationLeft)
            : reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    Result result;
    result.originalSize = transposed ? declared.transposed() : declared;
    if (!DecodeLimits::acceptableSize(declared))
        return failed(PictureDecoder::Failure::TooLarge, result.originalSize);
    const int pixels = pixelsWanted(request, result.originalSize);
    if (pixels < 0)
        return failed(PictureDecoder::Failure::Refused, result.originalSize);
    // The scaled size is of the stored picture; the box is square, so the
    // turn that follows keeps it inside.
    const QSize target = sizeToFit(declared, pixels);
    if (request.fitExactly && target != declared &&
        reader.supportsOption(QImageIOHandler::ScaledSize))
        reader.setScaledSize(target);
    const QImage image = reader.read();
    if (image.isNull())
        return failed(PictureDecoder::Failure::Damaged, result.originalSize);
    result.source = Source::QtReader;
    result.image = fitted(image, request, pixels);
    result.orientation = std::max(orientationLeft, 1);
    return result;
}

// Decoded at the smallest DCT scale that covers the size asked for. Empty
// when the bytes are no JPEG.
std::optional<Result> jpegPicture(const QByteArray& bytes, int orientation,
                                  const Request& request) {
    const QSize stored = ScaledJpegReader::storedSize(bytes);
    if (!stored.isValid())
        return std::nullopt;
    const QSize upright = isTransposing(orientation) ? stored.transposed() : stored;
    if (!DecodeLimits::acceptableJpeg(bytes))
        return failed(PictureDecoder::Failure::TooLarge, upright);
    const int pixels = pixelsWanted(request, upright);
    if (pixels < 0)
        return failed(PictureDecoder::Failure::Refused, upright);
    const QImage image = ScaledJpegReader::read(bytes, sizeToFit(stored, pixels));
    if (image.isNull()) {
        // libjpeg-turbo turns no CMYK picture into RGB; Qt's reader does.
        QByteArray data = bytes;
        QBuffer buffer(&data);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, QByteArrayLiteral("jpeg"));
        Request sized = request;
        sized.pixelsFor = nullptr;
        sized.pixels = pixels;
        return readerPicture(reader, sized, request.upright ? 0 : std::max(orientation, 1));
    }
    Result result;
    result.source = Source::ScaledJpeg;
    result.originalSize = upright;
    if (request.upright) {
        result.image =
            ImageTransformOps::orientedUpright(fitted(image, request, pixels), orientation);
    } else {
        result.image = fitted(image, request, pixels);
        result.orientation = std::max(orientation, 1);
    }
    return result;
}

// The embedded preview when it covers the request (or when demosaicing is
// not wanted), else the raw data demosaiced.
Result rawPicture(RawPictureReader& raw, const Request& request) {
    if (!raw.isValid())
        return failed(PictureDecoder::Failure::NotAPicture);
    Result result;
    result.originalSize = raw.metadata().size;
    const int pixels = pixelsWanted(request, result.originalSize);
    if (pixels < 0)
        return failed(PictureDecoder::Failure::Refused, result.originalSize);
    const bool demosaic = request.demosaicRaw && !request.embeddedOnly;
    const QSize wanted = sizeToFit(result.originalSize, pixels);
    const QSize preview = raw.previewSize();
    const bool previewFirst =
        preview.isValid() &&
        (covers(preview, wanted) || !demosaic ||
         (request.rawPreviewSuffices > 0 &&
          std::max(preview.width(), preview.height()) >= request.rawPreviewSuffices));
    if (previewFirst) {
        result.image = raw.embeddedPreview(wanted);
        result.source = Source::RawPreview;
    }
    if (result.image.isNull() && demosaic) {
        result.image = raw.demosaiced(pixels > 0 ? wanted : QSize());
        result.source = Source::RawDemosaic;
    }
    // Raw data that does not decode: a small preview is better than none.
    if (result.image.isNull() && preview.isValid() && !previewFirst) {
        result.image = raw.embeddedPreview(wanted);
        result.source = Source::RawPreview;
    }
    if (result.image.isNull())
        return failed(PictureDecoder::Failure::Damaged, result.originalSize);
    result.image = fitted(result.image, request, pixels);
    return result;
}

Result heifPicture(const HeifPictureReader& heif, const Request& request) {
    if (!heif.isValid())
        return failed(PictureDecoder::Failure::NotAPicture);
    Result result;
    result.originalSize = heif.size();
    const int pixels = pixelsWanted(request, result.originalSize);
    if (pixels < 0)
        return failed(PictureDecoder::Failure::Refused, result.originalSize);
    result.image = heif.decoded(pixels > 0 ? sizeToFit(result.originalSize, pixels) : QSize());
    if (result.image.isNull())
        return failed(PictureDecoder::Failure::Damaged, result.originalSize);
    result.source = Source::Heif;
    result.image = fitted(result.image, request, pixels);
    return result;
}

// The EXIF thumbnail when the request takes it, then the JPEG itself. Empty
// when neither serves and the bytes are no JPEG.
std::optional<Result> jpegOrExifPicture(ExifData* exif, const QByteArray& bytes,
                                        const Request& request) {
    if (request.exifThumbnail) {
        const QImage image = embeddedThumbnail(exif, request.pixels);
        if (!image.isNull())
            return thumbnailResult(image);
    }
    if (request.embeddedOnly)
        return failed(PictureDecoder::Failure::NotAPicture);
    return jpegPicture(bytes, Exif::orientationOf(exif), request);
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
        return failed(Failure::NotAPicture);
    if (format == Format::Unknown)
        format = formatOf(path);
    if (format == Format::Raw) {
        // Qt's TIFF reader would show a damaged RAW file's first directory
        // (often a tiny preview) as if it were the picture.
        RawPictureReader raw(path);
        return rawPicture(raw, request);
    }
    if (format == Format::Heif)
        return request.embeddedOnly ? failed(Failure::NotAPicture)
                                    : heifPicture(HeifPictureReader(path), request);
    if (format == Format::Jpeg || request.exifThumbnail) {
        // The EXIF block alone is read first: the thumbnail may spare
        // reading the pixels at all.
        const ExifDataPtr exif(ExifDataIO::loadExifDataFromFile(path));
        if (request.exifThumbnail) {
            const QImage image = embeddedThumbnail(exif.get(), request.pixels);
            if (!image.isNull())
                return thumbnailResult(image);
        }
        if (format == Format::Jpeg && !request.embeddedOnly) {
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                return failed(Failure::NotAPicture);
            if (std::optional<Result> result =
                    jpegPicture(file.readAll(), Exif::orientationOf(exif.get()), request))
                return *result;
        }
    }
    if (request.embeddedOnly)
        return failed(Failure::NotAPicture);
    // Another format, or a file named .jpg that is none.
    QImageReader reader(path);
    return readerPicture(reader, request);
}

PictureDecoder::Result PictureDecoder::decode(const QByteArray& bytes, const Request& request,
                                              Format format) {
    if (bytes.isEmpty())
        return failed(Failure::NotAPicture);
    if (format == Format::Unknown)
        format = formatOf(bytes.left(64));
    if (format == Format::Jpeg) {
        const ExifDataPtr exif(ExifDataIO::loadExifData(
            reinterpret_cast<const unsigned char*>(bytes.constData()), std::size_t(bytes.size())));
        if (std::optional<Result> result = jpegOrExifPicture(exif.get(), bytes, request))
            return *result;
    } else if (format == Format::Heif) {
        return request.embeddedOnly ? failed(Failure::NotAPicture)
                                    : heifPicture(HeifPictureReader(bytes), request);
    } else if (format == Format::Raw) {
        RawPictureReader raw(bytes);
        if (raw.isValid())
            return rawPicture(raw, request);
    }
    if (request.embeddedOnly)
        return failed(Failure::NotAPicture);
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    return readerPicture(reader, request);
}

QImage PictureDecoder::scaledToFit(const QImage& image, int pixels) {
    if (image.isNull() || pixels <= 0)
        return image;
    const QSize target = sizeToFit(image.size(), pixels);
    if (target == image.size())
        return image;
    return image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
