// SPDX-License-Identifier: GPL-3.0-or-later
#include "Exif.h"

#include "ExifDataIO.h"

#include <QStringDecoder>

#include <libexif/exif-data.h>

Exif::Exif(const QString& path)
    : exifData_(ExifDataIO::loadExifDataFromFile(path)) {}

Exif::~Exif() {
    if (exifData_)
        exif_data_unref(exifData_);
}

QString Exif::getTagValue(int tag) const {
    if (!exifData_ || tag < 0 || tag > 0xFFFF)
        return QString();
    ExifEntry* entry = nullptr;
    for (int ifd = EXIF_IFD_0; ifd < EXIF_IFD_COUNT && !entry; ++ifd)
        entry = exif_content_get_entry(exifData_->ifd[ifd], static_cast<ExifTag>(tag));
    if (!entry)
        return QString();
    char buffer[1024] = {};
    if (!exif_entry_get_value(entry, buffer, sizeof buffer))
        return QString();
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder.decode(QByteArrayView(buffer, qstrnlen(buffer, sizeof buffer)));
    if (decoder.hasError())
        return QString();
    // An empty rendering is still a present tag.
    return text.isNull() ? QString(QLatin1String("")) : text;
}

QDateTime Exif::parseExifDate(const QString& text) {
    if (text.isEmpty())
        return QDateTime();
    QDateTime date = QDateTime::fromString(text, QStringLiteral("yyyy:MM:dd HH:mm:ss"));
    return date.isValid() ? date : QDateTime();
}

QImage Exif::getExifThumbnail(const QString&) {
    return QImage();
}

bool Exif::updateExifThumbnail(const QString&) {
    return false;
}

bool Exif::trimExifData(const QString&) {
    return false;
}

bool Exif::copyExifDataFromPath(const QString&, const QString&) {
    return false;
}
