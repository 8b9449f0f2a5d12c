// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageUtils.h"

#include "Exif.h"

#include <FileUtils.h>

#include <QFile>
#include <QImageReader>

#include <cstdlib>
#include <cstring>

namespace {

bool startsWith(const QString& path, const char* signature, qint64 length) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray head = file.read(length);
    return head.size() == length && std::memcmp(head.constData(), signature, length) == 0;
}

} // namespace

bool ImageUtils::looksLikeJpeg(const QString& path) {
    if (FileUtils::isFile(path, QStringLiteral("image/jpeg"), FileUtils::jpegExtensions()))
        return true;
    return startsWith(path, "\xFF\xD8\xFF", 3);
}

bool ImageUtils::looksLikePng(const QString& path) {
    if (FileUtils::isFile(path, QStringLiteral("image/png"), FileUtils::pngExtensions()))
        return true;
    return startsWith(path, "\x89PNG", 4);
}

QSize ImageUtils::getImageSize(const QString& path) {
    QImageReader reader(path);
    const QSize size = reader.size();
    return size.isValid() ? size : QSize(0, 0);
}

QDateTime ImageUtils::getCreationDateForImage(const QString& path) {
    return getCreationDateForImage(path, QDateTime::currentDateTime());
}

QDateTime ImageUtils::getCreationDateForImage(const QString& path, const QDateTime& fallback) {
    const QDateTime digitized = Exif::parseExifDate(Exif(path).getTagValue(36868));
    if (digitized.isValid())
        return digitized;
    const QDateTime created = FileUtils::getCreationDateForFile(path);
    if (created.isValid())
        return created;
    return fallback;
}

QImage ImageUtils::getThumbnail(const QString& path) {
    if (FileUtils::isImageFile(path)) {
        const QImage thumbnail = Exif::getExifThumbnail(path);
        if (!thumbnail.isNull())
            return thumbnail;
    }
    return FileUtils::getIcon(path).pixmap(128, 128).toImage();
}

bool ImageUtils::transformImage(const QString&, int, double) {
    return false;
}

bool ImageUtils::autoLosslessRotateImage(const QString&) {
    return false;
}

bool ImageUtils::finalizeTransformOf(const QString&, const QString&, bool, std::uint8_t) {
    return false;
}

bool ImageUtils::finalizeTransformOf(const QString& source, char* transformed, bool copyExifData,
                                     std::uint8_t orientation) {
    const QString path = transformed ? QString::fromUtf8(transformed) : QString();
    std::free(transformed);
    if (path.isEmpty())
        return false;
    return finalizeTransformOf(source, path, copyExifData, orientation);
}
