// SPDX-License-Identifier: GPL-3.0-or-later
#include "ThumbnailJob.h"

#include <QMetaObject>
#include <QMutex>
#include <QMutexLocker>
#include <QThread>
#include <QThreadPool>

#include <algorithm>
#include <vector>

namespace {

constexpr int kMinimumKeptItems = 200;

struct Range {
    int first = -1;
    int last = -1;

    bool isEmpty() const { return first < 0 || last < first; }
    bool contains(int index) const { return !isEmpty() && index >= first && index <= last; }
};

quint64 pack(int first, int last) {
    return (quint64(quint32(first)) << 32) | quint32(last);
}

Range unpack(quint64 packed) {
    return {int(qint32(quint32(packed >> 32))), int(qint32(quint32(packed)))};
}

Range clamped(Range range, int count) {
    if (range.isEmpty() || range.first >= count)
        return {};
    return {range.first, std::min(range.last, count - 1)};
}

// Where thumbnails may stay decoded: the visible range and about two
// screens each way; everything when nothing is known to be visible.
Range windowAround(Range visible, int count) {
    if (visible.isEmpty())
        return {0, count - 1};
    const int margin = std::max(2 * (visible.last - visible.first + 1), kMinimumKeptItems);
    return {std::max(0, visible.first - margin),
            int(std::min<qint64>(count - 1, qint64(visible.last) + margin))};
}

} // namespace

struct ThumbnailJob::State {
    State(ThumbnailJob* owner, const QList<BrowserItemPtr>& list, int size)
        : job(owner)
        , items(list)
        , pixels(size)
        , threadCount(std::clamp(QThread::idealThreadCount(), 1, std::max(1, count())))
        , inFlight(std::size_t(list.size()), 0)
        , keptWindow{0, count() - 1} {
        pool.setMaxThreadCount(threadCount);
    }

    ThumbnailJob* const job;
    // Const, so reading it from several threads never detaches the copy.
    const QList<BrowserItemPtr> items;
    const int pixels;
    const int threadCount;
    std::atomic<bool> started{false};
    std::atomic<bool> cancelled{false};
    std::atomic<bool> finished{false};
    std::atomic<quint64> visible{pack(-1, -1)};

    // Guards the picking state below; never held during a load.
    QMutex lock;
    std::vector<char> inFlight;
    int running = 0;
    int cursor = 0;
    quint64 cursorVisible = pack(-1, -1);

    // Main thread only: where thumbnails were last allowed to stay.
    Range keptWindow;

    QThreadPool pool;

    int count() const { return int(items.size()); }
    Range visibleRange() const { return clamped(unpack(visible.load()), count()); }

    // Lock held. The first visible item still to load, else the next one in
    // order within the kept window; -1 when there is none.
    int pickNext() {
        const quint64 packed = visible.load();
        const Range shown = clamped(unpack(packed), count());
        for (int index = shown.first; !shown.isEmpty() && index <= shown.last; ++index) {
            if (!inFlight[std::size_t(index)] && !items[index]->thumbnailLoaded())
                return index;
        }
        const Range window = windowAround(shown, count());
        // Items before the cursor are loaded or being loaded, as long as the
        // window stays where it was.
        if (packed != cursorVisible) {
            cursorVisible = packed;
            cursor = window.first;
        }
        for (cursor = std::max(cursor, window.first); cursor <= window.last; ++cursor) {
            if (!inFlight[std::size_t(cursor)] && !items[cursor]->thumbnailLoaded())
                return cursor++;
        }
        return -1;
    }

    // Lock held.
    void spawnWorkers(const std::shared_ptr<State>& self) {
        while (running < threadCount) {
            ++running;
            pool.start([self] { self->work(); });
        }
    }

    void work() {
        for (;;) {
            int index = -1;
            {
                QMutexLocker locker(&lock);
                if (!cancelled.load())
                    index = pickNext();
                if (index < 0) {
                    if (--running == 0)
                        finish();
                    return;
                }
                inFlight[std::size_t(index)] = 1;
            }
            const BrowserItemPtr& item = items[index];
            const bool loaded = item->loadThumbnailOfSize(pixels);
            {
                QMutexLocker locker(&lock);
                inFlight[std::size_t(index)] = 0;
            }
            if (!loaded)
                continue;
            // Scrolled far away while loading: the cache has it for later.
            if (!windowAround(visibleRange(), count()).contains(index)) {
                item->dropThumbnail();
                continue;
            }
            ThumbnailJob* owner = job;
            QMetaObject::invokeMethod(
                owner, [owner, index] { emit owner->thumbnailLoaded(index); },
                Qt::QueuedConnection);
        }
    }

    void finish() {
        if (finished.exchange(true))
            return;
        ThumbnailJob* owner = job;
        QMetaObject::invokeMethod(
            owner, [owner] { emit owner->finished(); }, Qt::QueuedConnection);
    }
};

ThumbnailJob::ThumbnailJob(const QList<BrowserItemPtr>& items, int pixels, QObject* parent)
    : QObject(parent)
    , m_state(std::make_shared<State>(this, items, pixels)) {}

ThumbnailJob::~ThumbnailJob() {
    cancel();
    m_state->pool.waitForDone();
}

void ThumbnailJob::start() {
    if (m_state->started.exchange(true) || m_state->cancelled.load())
        return;
    QMutexLocker locker(&m_state->lock);
    if (m_state->items.isEmpty())
        m_state->finish();
    else
        m_state->spawnWorkers(m_state);
}

void ThumbnailJob::cancel() {
    m_state->cancelled.store(true);
    QMutexLocker locker(&m_state->lock);
    if (m_state->running == 0)
        m_state->finish();
}

bool ThumbnailJob::isCancelled() const {
    return m_state->cancelled.load();
}

bool ThumbnailJob::isFinished() const {
    return m_state->finished.load();
}

void ThumbnailJob::setVisibleRange(int first, int last) {
    m_state->visible.store(pack(first, last));
    const Range window = windowAround(m_state->visibleRange(), m_state->count());
    // Only what the last window kept can hold a thumbnail outside the new
    // one; a worker finishing late drops its own.
    const Range previous = m_state->keptWindow;
    for (int index = std::max(previous.first, 0); !previous.isEmpty() && index <= previous.last;
         ++index) {
        if (!window.contains(index))
            m_state->items[index]->dropThumbnail();
    }
    m_state->keptWindow = window;
    if (!m_state->started.load() || m_state->cancelled.load())
        return;
    QMutexLocker locker(&m_state->lock);
    m_state->spawnWorkers(m_state);
}
