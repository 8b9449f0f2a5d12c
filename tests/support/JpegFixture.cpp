// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegFixture.h"

#include "ExifBuilder.h"
#include "TestFiles.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

namespace {

std::vector<unsigned char> exifPayload(const JpegFixture::Options& options) {
    ExifBuilder exif;
    if (!options.make.isEmpty())
        exif.addText(EXIF_IFD_0, EXIF_TAG_MAKE, options.make.toStdString());
    if (!options.model.isEmpty())
        exif.addText(EXIF_IFD_0, EXIF_TAG_MODEL, options.model.toStdString());
    if (options.orientation > 0)
        exif.addShort(EXIF_IFD_0, EXIF_TAG_ORIENTATION, options.orientation);
    if (options.digitized.isValid())
        exif.addText(EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_DIGITIZED,
                     options.digitized.toLocalTime()
                         .toString(QStringLiteral("yyyy:MM:dd HH:mm:ss"))
                         .toStdString());
    return exif.payload();
}

} // namespace

QByteArray JpegFixture::jpeg(const Options& options) {
    QImage image(options.size, QImage::Format_RGB32);
    QPainter painter(&image);
    const int half = options.size.width() / 2;
    painter.fillRect(0, 0, half, options.size.height(), options.left);
    painter.fillRect(half, 0, options.size.width() - half, options.size.height(), options.right);
    painter.end();

    QByteArray encoded;
    QBuffer buffer(&encoded);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 95);

    const bool hasExif = options.digitized.isValid() || !options.make.isEmpty() ||
                         !options.model.isEmpty() || options.orientation > 0;
    if (!hasExif)
        return encoded;
    const std::vector<unsigned char> file = ExifBuilder::withApp1(
        std::vector<unsigned char>(encoded.begin(), encoded.end()), exifPayload(options));
    return QByteArray(reinterpret_cast<const char*>(file.data()),
                      static_cast<qsizetype>(file.size()));
}

bool JpegFixture::write(const QString& path, const Options& options) {
    return TestFiles::write(path, jpeg(options));
}
