// SPDX-License-Identifier: GPL-3.0-or-later
#include "GPhotoFile.h"

#include "GPhotoDevice.h"

#include <QMutexLocker>

GPhotoFile::GPhotoFile(QString folder, QString name, qint64 fileSize, QDateTime modificationDate,
                       QString mimeType, QStringList sidecarNames)
    : m_folder(std::move(folder))
    , m_name(std::move(name))
    , m_fileSize(fileSize)
    , m_modificationDate(std::move(modificationDate))
    , m_mimeType(std::move(mimeType))
    , m_sidecarNames(std::move(sidecarNames)) {}

QImage GPhotoFile::thumbnailIfAvailable() {
    {
        QMutexLocker locker(&m_thumbnailLock);
        if (!m_thumbnail.isNull())
            return m_thumbnail;
    }
    // Asked once: a device without a preview for this file is not asked again.
    if (!m_thumbnailRequested.exchange(true)) {
        if (const std::shared_ptr<GPhotoDevice> owner = device())
            owner->requestThumbnail(shared_from_this());
    }
    return {};
}

void GPhotoFile::setThumbnail(const QImage& image) {
    QMutexLocker locker(&m_thumbnailLock);
    m_thumbnail = image;
}
