// SPDX-License-Identifier: GPL-3.0-or-later
#include "BrowserContent.h"

#include "ThumbnailJob.h"

namespace {

// A growing folder is shown again at most this often while it is read.
constexpr int kPublishIntervalMs = 200;

} // namespace

BrowserContent::BrowserContent(QObject* parent)
    : QObject(parent) {
    m_changeDelay.setSingleShot(true);
    m_changeDelay.setInterval(kChangeDelayMs);
    m_publishDelay.setSingleShot(true);
    m_publishDelay.setInterval(kPublishIntervalMs);
    connect(&m_listing, &FolderListing::itemsListed, this, &BrowserContent::itemsListed);
    connect(&m_listing, &FolderListing::finished, this,
            [this](quint64 generation, const QString&) { listingDone(generation); });
    connect(&m_publishDelay, &QTimer::timeout, this, &BrowserContent::publishListed);
    // The first change starts the delay and later ones fall into it, so a
    // burst of changes gives one refresh (and one more for changes seen
    // while that one lists).
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this] {
        if (m_watching && !m_changeDelay.isActive())
            m_changeDelay.start();
    });
    connect(&m_changeDelay, &QTimer::timeout, this, &BrowserContent::folderChanged);
}

BrowserContent::~BrowserContent() {
    m_listing.cancel();
    if (m_thumbnails)
        m_thumbnails->cancel();
}

void BrowserContent::setCurrentPath(const QString& path) {
    if (path == m_currentPath)
        return;
    if (!m_watcher.directories().isEmpty())
        m_watcher.removePaths(m_watcher.directories());
    m_currentPath = path;
    m_changeDelay.stop();
    if (!path.isEmpty())
        m_watcher.addPath(path);
}

void BrowserContent::setFilter(const BrowserFilter& filter) {
    m_filter = filter;
    m_listed.clear(); // already among the folder's items
    publish();
}

void BrowserContent::refresh(bool userVisible) {
    retireThumbnailJob();
    m_userVisible = userVisible;
    m_incoming.clear();
    m_listed.clear();
    m_publishDelay.stop();
    if (userVisible) {
        m_folderItems.clear();
        publish();
    }
    if (m_currentPath.isEmpty()) {
        m_listing.cancel();
        m_folderItems.clear();
        publish();
        emit listingFinished();
        return;
    }
    // A folder deleted and made again is watched anew.
    if (!m_watcher.directories().contains(m_currentPath))
        m_watcher.addPath(m_currentPath);
    m_generation = m_listing.start(m_currentPath);
    emit listingStarted(userVisible);
}

void BrowserContent::itemsListed(quint64 generation, const QList<BrowserItemPtr>& items) {
    if (generation != m_generation)
        return;
    if (!m_userVisible) {
        m_incoming.append(items);
        return;
    }
    // Shown as they come: at once for the first names, then at intervals.
    m_folderItems.append(items);
    m_listed.append(items);
    if (m_model.items().isEmpty())
        publishListed();
    else if (!m_publishDelay.isActive())
        m_publishDelay.start();
}

void BrowserContent::listingDone(quint64 generation) {
    if (generation != m_generation)
        return;
    m_publishDelay.stop();
    if (m_userVisible) {
        publishListed();
    } else {
        m_folderItems = std::exchange(m_incoming, {});
        publish();
    }
    emit listingFinished();
}

void BrowserContent::publish() {
    showItems(m_filter.apply(m_folderItems));
}

void BrowserContent::publishListed() {
    if (m_listed.isEmpty())
        return;
    showItems(m_filter.merged(m_model.items(), std::exchange(m_listed, {})));
}

void BrowserContent::showItems(const QList<BrowserItemPtr>& items) {
    emit itemsAboutToChange();
    m_model.setItems(items);
    emit itemsChanged();
    restartThumbnails();
}

void BrowserContent::setThumbnailPixels(int pixels) {
    if (pixels == m_thumbnailPixels)
        return;
    m_thumbnailPixels = pixels;
    // Thumbnails of another size: the loaded ones are read again.
    for (const BrowserItemPtr& item : m_folderItems)
        item->dropThumbnail();
    restartThumbnails();
}

void BrowserContent::setVisibleRange(int first, int last) {
    m_visibleFirst = first;
    m_visibleLast = last;
    if (m_thumbnails)
        m_thumbnails->setVisibleRange(first, last);
}

void BrowserContent::pauseWatching() {
    m_watching = false;
}

void BrowserContent::resumeWatching() {
    m_watching = true;
}

void BrowserContent::restartThumbnails() {
    retireThumbnailJob();
    if (m_model.items().isEmpty())
        return;
    auto* job = new ThumbnailJob(m_model.items(), m_thumbnailPixels, this);
    connect(job, &ThumbnailJob::thumbnailLoaded, &m_model, &BrowserGridModel::thumbnailChanged);
    job->setVisibleRange(m_visibleFirst, m_visibleLast);
    m_thumbnails = job;
    job->start();
}

void BrowserContent::retireThumbnailJob() {
    ThumbnailJob* job = m_thumbnails.data();
    m_thumbnails.clear();
    if (!job)
        return;
    // Its worker may be inside a load: it goes once that one is done, so
    // the main thread never waits for a decode.
    job->disconnect(&m_model);
    job->cancel();
    if (job->isFinished())
        job->deleteLater();
    else
        connect(job, &ThumbnailJob::finished, job, &QObject::deleteLater);
}
