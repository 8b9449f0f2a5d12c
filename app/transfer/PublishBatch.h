// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TransferAction.h"

#include <QSet>
#include <QString>

#include <atomic>

#include <memory>
#include <vector>

class StagedTransfer;

// Consecutive files of a run, written under their temporary names and made
// durable together: one syncfs per destination file system instead of an
// fsync per file (which costs a journal commit each), then each copy that
// is checked is read back, four at a time. The entries are then renamed
// into place in order, their names made durable (one more syncfs), and
// only then are moved sources removed. Skipped and failed files wait here
// too, so the run's reports keep their order. Dropped entries remove their
// temporary files and keep their sources.
//
// Filled on the run's thread; publishAll() may run on another while the
// run fills the next batch (it then only reads holds()), and the run reads
// the entries once it is over.
class PublishBatch {
public:
    // 4096 files turn 50,000 small files into some 25 flushes (two per
    // batch; each waits for the disk) and keep a killed run's leftovers and
    // the wait for a progress report small (a fifth of a second of such
    // files); 64 MiB is about a second of a card reader's writing, so large
    // pictures are published at least that often.
    static constexpr int defaultMaxFiles = 4096;
    static constexpr qint64 defaultMaxBytes = qint64(64) << 20;
    // The files of a batch when none is asked for: each keeps its temporary
    // file open (its lock tells it from an abandoned one) until the batch
    // is over, and two batches live at once, so the process's descriptor
    // limit (raised a little towards its hard limit first) may ask fewer.
    static int defaultFileCount();

    struct Entry {
        TransferActionPtr action;
        std::unique_ptr<StagedTransfer> staged; // null: skipped or failed
        bool skipped = false;
        bool replaceExisting = false;
        qint64 bytes = 0;
        // Set as the batch is made durable and published:
        bool durable = false;
        bool published = false;
        bool canceled = false;       // a cancel came first: left unpublished
        bool takenMeanwhile = false; // its name appeared after the run's check
    };

    PublishBatch(int maxFiles = defaultMaxFiles, qint64 maxBytes = defaultMaxBytes);
    ~PublishBatch();
    PublishBatch(const PublishBatch&) = delete;
    PublishBatch& operator=(const PublishBatch&) = delete;

    void add(Entry entry);
    bool isEmpty() const { return m_entries.empty(); }
    bool isFull() const;
    // Whether an entry goes to `destination` (in any case, for FAT and exFAT).
    bool holds(const QString& destination) const;
    std::vector<Entry>& entries() { return m_entries; }

    // Flushes every staged copy to the disk, then checks those that are
    // checked; marks the entries that may be published.
    void makeDurable();
    // Renames a durable entry into place (and tells its action): over an
    // existing name only with its replaceExisting; with `skipsExisting`, a
    // name that appeared after the run's check marks it takenMeanwhile.
    static void publish(Entry& entry, bool skipsExisting);
    // Flushes the folders of the published entries (their file systems),
    // so their names survive a crash.
    void finish();
    // After finish() (and the run's records of them): removes the sources
    // of the published moves.
    void removeSources();
    // All of it at once, each entry published unless `canceled` is set by
    // then; for a thread of its own.
    void publishAll(const std::atomic<bool>& canceled, bool skipsExisting);
    // Whether finish() has run.
    bool isPublished() const { return m_published; }

private:
    int m_maxFiles;
    qint64 m_maxBytes;
    qint64 m_bytes = 0;
    bool m_published = false;
    std::vector<Entry> m_entries;
    QSet<QString> m_destinations; // case-folded
};
