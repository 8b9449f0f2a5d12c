// SPDX-License-Identifier: GPL-3.0-or-later
#include "BitmapSaveOps.h"

#include "ImageUtils.h"
#include "JpegCompression.h"

#include <QImageWriter>
#include <QSaveFile>

bool BitmapSaveOps::saveTo(const QImage& bitmap, const QString& path, const QByteArray& format,
                           int quality) {
    if (bitmap.isNull() || path.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, format);
    writer.setQuality(quality);
    if (!writer.write(bitmap)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool BitmapSaveOps::saveAsJpeg(const QImage& bitmap, const QString& path, double jpegCompression) {
    return saveTo(bitmap, path, QByteArrayLiteral("JPEG"),
                  JpegCompression::qualityFromSetting(jpegCompression));
}

bool BitmapSaveOps::saveAsPng(const QImage& bitmap, const QString& path) {
    return saveTo(bitmap, path, QByteArrayLiteral("PNG"), -1);
}

bool BitmapSaveOps::saveSameAs(const QImage& bitmap, const QString& source, const QString& target,
                               double jpegCompression) {
    if (ImageUtils::looksLikeJpeg(source))
        return saveAsJpeg(bitmap, target, jpegCompression);
    if (ImageUtils::looksLikePng(source))
        return saveAsPng(bitmap, target);
    return false;
}
