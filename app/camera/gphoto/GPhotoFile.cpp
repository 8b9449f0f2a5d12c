// SPDX-License-Identifier: GPL-3.0-or-later
#include "GPhotoFile.h"

#include "GPhotoDevice.h"

#include <QMutexLocker>

GPhotoFile::GPhotoFile(QString folder, QString name, qint64 fileSize, QDateTime modificationDate,
                       QString mimeType, QStringList sidecarNames)
    : folder_(std::move(folder))
    , name_(std::move(name))
    , fileSize_(fileSize)
    , modificationDate_(std::move(modificationDate))
    , mimeType_(std::move(mimeType))
    , sidecarNames_(std::move(sidecarNames)) {}

QImage GPhotoFile::thumbnailIfAvailable() {
    {
        QMutexLocker locker(&thumbnailLock);
        if (!thumbnail.isNull())
            return thumbnail;
    }
    // Asked once: a device without a preview for this file is not asked again.
    if (!thumbnailRequested.exchange(true)) {
        if (const std::shared_ptr<GPhotoDevice> owner = device())
            owner->requestThumbnail(shared_from_this());
    }
    return {};
}

void GPhotoFile::setThumbnail(const QImage& image) {
    QMutexLocker locker(&thumbnailLock);
    thumbnail = image;
}
