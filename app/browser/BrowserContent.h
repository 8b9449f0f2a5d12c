// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BrowserFilter.h"
#include "BrowserGridModel.h"
#include "FolderListing.h"

#include <QFileSystemWatcher>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QTimer>

class ThumbnailJob;

// What the browser grid shows: the current folder's entries (listed on a
// worker), filtered and sorted into the grid model, kept current by a
// watcher whose bursts of changes are coalesced over 0.5 s, and served
// with thumbnails, visible ones first.
//
// A user-visible listing (a folder opened) clears the grid at once and
// shows the entries as they are read; a refresh after a change keeps the
// old entries on screen until the new listing is complete. The latest
// listing wins; the main thread never waits for the disk or for a
// thumbnail load. Main thread.
class BrowserContent : public QObject {
    Q_OBJECT
public:
    explicit BrowserContent(QObject* parent = nullptr);
    ~BrowserContent() override;

    BrowserGridModel* model() { return &m_model; }
    const BrowserGridModel* model() const { return &m_model; }
    const QList<BrowserItemPtr>& folderItems() const { return m_folderItems; }
    const QList<BrowserItemPtr>& browserItems() const { return m_model.items(); }

    QString currentPath() const { return m_currentPath; }
    // Makes `path` the folder shown (and watched); lists nothing by itself.
    void setCurrentPath(const QString& path);

    const BrowserFilter& filter() const { return m_filter; }
    // Filters and sorts the listed entries again; the disk is not read.
    void setFilter(const BrowserFilter& filter);

    // Lists the current folder again.
    void refresh(bool userVisible);
    bool isListing() const { return m_listing.isRunning(); }

    // The thumbnails' size in pixels (the cell's thumbnail area).
    void setThumbnailPixels(int pixels);
    // The grid rows on screen, first to last (-1, -1: none).
    void setVisibleRange(int first, int last);

    // Watching stops while files are moved away by the browser itself.
    void pauseWatching();
    void resumeWatching();

    // The coalescing delay of the watcher.
    static constexpr int kChangeDelayMs = 500;

signals:
    void listingStarted(bool userVisible);
    // The grid's items are about to be replaced, and have been.
    void itemsAboutToChange();
    void itemsChanged();
    void listingFinished();
    // The folder changed on disk (after the coalescing delay).
    void folderChanged();

private:
    void itemsListed(quint64 generation, const QList<BrowserItemPtr>& items);
    void listingDone(quint64 generation);
    // Shows the listed entries anew (filtered and sorted whole).
    void publish();
    // Merges the entries listed since the last showing into the grid.
    void publishListed();
    void showItems(const QList<BrowserItemPtr>& items);
    void restartThumbnails();
    void retireThumbnailJob();

    BrowserGridModel m_model;
    FolderListing m_listing;
    QFileSystemWatcher m_watcher;
    QTimer m_changeDelay;
    QTimer m_publishDelay;
    QString m_currentPath;
    BrowserFilter m_filter;
    QList<BrowserItemPtr> m_folderItems;
    // A refresh's entries, until its listing is complete.
    QList<BrowserItemPtr> m_incoming;
    // A user-visible listing's entries not yet in the grid.
    QList<BrowserItemPtr> m_listed;
    quint64 m_generation = 0;
    bool m_userVisible = false;
    bool m_watching = true;
    int m_thumbnailPixels = 256;
    int m_visibleFirst = -1;
    int m_visibleLast = -1;
    QPointer<ThumbnailJob> m_thumbnails;
};
