// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BrowserItem.h"

#include <QList>
#include <QObject>
#include <QString>

#include <atomic>
#include <memory>

// Lists a folder's entries as BrowserItems on a worker thread: hidden
// names (".", "..", ".*") skipped, folders (links followed), then images,
// then movies by FileUtils; anything else skipped; listing order kept. An
// unreadable or vanished folder lists as empty; a name that is not valid
// UTF-8 still lists, under its decoded text (U+FFFD for the bad bytes):
// Qt decodes file names as UTF-8 with no way back, so no QString path
// names that file and reads of it fail like those of a vanished file.
//
// The latest request wins: start() abandons any listing still running, and
// nothing of an abandoned listing is ever reported. Items are handed over
// in batches while the folder is read, so the first names show at once.
// No lock is shared with the main thread.
//
// Threads: construct, start() and cancel() on the main thread; the signals
// arrive on the main thread.
class FolderListing : public QObject {
    Q_OBJECT
public:
    explicit FolderListing(QObject* parent = nullptr);
    ~FolderListing() override;

    // Starts listing `path`; returns the listing's number.
    quint64 start(const QString& path);
    // Abandons the running listing, if any.
    void cancel();
    bool isRunning() const { return m_running; }

    // The same listing on the calling thread, all at once (tests, tools).
    static QList<BrowserItemPtr> listFolder(const QString& path);

signals:
    // Items of listing `generation`, in listing order, following the ones
    // handed over before.
    void itemsListed(quint64 generation, const QList<BrowserItemPtr>& items);
    // Listing `generation` of `path` is complete.
    void finished(quint64 generation, const QString& path);

private:
    quint64 m_generation = 0;
    bool m_running = false;
    std::shared_ptr<std::atomic<quint64>> m_current;
};
