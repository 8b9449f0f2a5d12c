// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BrowserItem.h"

#include <QList>
#include <QObject>

#include <atomic>
#include <memory>

// Replaces the icons of a list of items by their thumbnails on worker
// threads (at most one per core): the visible items first, the visible
// range read again after every load, then the rest in order. Once a visible
// range is set, "the rest" is the items within about two screens of it
// (twice the visible count, at least 200 items, each way); items farther
// away give their decoded thumbnails back and are loaded again (normally
// from the cache) when they come near. Without a visible range every item
// is loaded. A cancelled job stops before its next item; a load already
// started completes.
//
// finished is emitted once: when the job first runs out of items or is
// cancelled. Until cancelled it still serves later visible ranges.
//
// Threads: construct, start(), setVisibleRange() and cancel() on the main
// thread; thumbnailLoaded and finished arrive on the main thread. The job
// keeps its own copy of the list.
class ThumbnailJob : public QObject {
    Q_OBJECT
public:
    ThumbnailJob(const QList<BrowserItemPtr>& items, int pixels, QObject* parent = nullptr);
    ~ThumbnailJob() override; // cancels and waits for the workers

    void start();
    void cancel();
    bool isCancelled() const;
    bool isFinished() const;

    // The visible indexes, first to last inclusive (-1, -1: none).
    void setVisibleRange(int first, int last);

signals:
    // The item at `index` has a new thumbnail.
    void thumbnailLoaded(int index);
    void finished();

private:
    struct State;
    std::shared_ptr<State> m_state;
};
