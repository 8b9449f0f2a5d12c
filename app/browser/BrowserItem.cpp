// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserItem.h"

#include "ThumbnailLoader.h"

#include "FileUtils.h"
#include "ImageUtils.h"
#include "OpenedPath.h"

#include <QMutexLocker>

namespace {

QString lastComponent(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? path : path.mid(slash + 1);
}

QDateTime creationDateOf(const QString& path, BrowserItemType type) {
    const OpenedPath opened(path);
    if (type == BrowserItemTypeImage)
        return ImageUtils::getCreationDateForImage(opened.path());
    return FileUtils::getCreationDateForFile(opened.path());
}

} // namespace

BrowserItem::BrowserItem(const QString& path, BrowserItemType type)
    : m_path(path)
    , m_title(lastComponent(path))
    , m_type(type)
    , m_creationDate(creationDateOf(path, type)) {
    if (type == BrowserItemTypeFolder)
        m_thumbnailLoaded.store(true);
}

QImage BrowserItem::thumbnail() const {
    QMutexLocker locker(&m_thumbnailLock);
    return m_thumbnail;
}

bool BrowserItem::loadThumbnailOfSize(int pixels) {
    if (m_thumbnailLoaded.load())
        return false;
    const ThumbnailLoader::Result result = ThumbnailLoader::load(m_path, pixels);
    if (result.image.isNull()) {
        // Never tried again for this item, whatever the reason.
        m_thumbnailFailed.store(true);
        m_thumbnailLoaded.store(true);
        return false;
    }
    {
        QMutexLocker locker(&m_thumbnailLock);
        m_thumbnail = result.image;
    }
    m_thumbnailLoaded.store(true);
    return true;
}

void BrowserItem::dropThumbnail() {
    if (m_type == BrowserItemTypeFolder || m_thumbnailFailed.load() || !m_thumbnailLoaded.load())
        return;
    {
        QMutexLocker locker(&m_thumbnailLock);
        m_thumbnail = QImage();
    }
    m_thumbnailLoaded.store(false);
}
