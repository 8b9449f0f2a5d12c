// SPDX-License-Identifier: GPL-3.0-or-later
#include "DirectoryCamera.h"

#include "TestFiles.h"

#include <QBuffer>
#include <QFile>
#include <QImage>

#include <libexif/exif-data.h>

#include <cstdlib>
#include <cstring>

namespace {

QByteArray encodeJpeg(int width, int height, Qt::GlobalColor color) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(color);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "JPEG", 90);
    return bytes;
}

// An APP1 "Exif" segment whose IFD 1 carries `thumbnail`.
QByteArray exifSegment(const QByteArray& thumbnail) {
    ExifData* data = exif_data_new();
    exif_data_set_byte_order(data, EXIF_BYTE_ORDER_INTEL);
    data->data = static_cast<unsigned char*>(malloc(size_t(thumbnail.size())));
    std::memcpy(data->data, thumbnail.constData(), size_t(thumbnail.size()));
    data->size = unsigned(thumbnail.size());
    unsigned char* saved = nullptr;
    unsigned int savedSize = 0;
    exif_data_save_data(data, &saved, &savedSize);
    exif_data_unref(data);
    QByteArray segment("\xff\xe1", 2);
    const int length = int(savedSize) + 2;
    segment.append(char(length >> 8)).append(char(length & 0xff));
    segment.append(reinterpret_cast<const char*>(saved), int(savedSize));
    free(saved);
    return segment;
}

} // namespace

DirectoryCamera::DirectoryCamera() = default;

GPhotoDeviceInfo DirectoryCamera::info() const {
    return GPhotoDeviceInfo{QStringLiteral("Directory Browse"), QStringLiteral("disk:") + root()};
}

bool DirectoryCamera::add(const QString& relative, const QByteArray& contents,
                          const QDateTime& modified) {
    const QString target = path(relative);
    if (!TestFiles::write(target, contents))
        return false;
    if (!modified.isValid())
        return true;
    QFile file(target);
    return file.open(QIODevice::ReadWrite) &&
           file.setFileTime(modified, QFileDevice::FileModificationTime);
}

QByteArray DirectoryCamera::jpeg(int width, int height, Qt::GlobalColor color, int thumbnailWidth) {
    const QByteArray main = encodeJpeg(width, height, color);
    if (thumbnailWidth <= 0)
        return main;
    const QByteArray thumbnail = encodeJpeg(thumbnailWidth, thumbnailWidth * height / width, color);
    // SOI, then the EXIF segment, then the rest of the image.
    return main.left(2) + exifSegment(thumbnail) + main.mid(2);
}
