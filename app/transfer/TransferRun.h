// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "DestinationNames.h"
#include "ImportJournal.h"
#include "OverwriteAnswer.h"
#include "PublishBatch.h"
#include "TransferAction.h"
#include "TransferSummary.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QSemaphore>

#include <atomic>
#include <deque>
#include <future>
#include <memory>
#include <optional>

class StagedTransfer;
class UserDefaults;

// Executes the planned actions of one transfer in order: resolves name
// conflicts by the overwrite mode (read once at the start) or by asking,
// honours the cancel flag before each file, and reports progress. A drive
// file is written under a temporary name (a picture turned on the way on a
// thread of its own beside the next files: two turn at once, and no more
// are held in memory) and joins a PublishBatch: consecutive files flushed
// to disk together, then published by rename and their folders flushed
// (a full batch on a thread of its own while the next one is written),
// and only once reported are they journaled and moved sources removed.
// Other files (a device camera's, a file replaced after a question) are
// transferred and flushed one by one. The reports keep the order of the
// files (a file's fileStarted follows the bytesDone of the one before
// it); a full batch is reported once published, the last one as each
// file is published, and a cancel seen then drops the files not yet
// published (their sources untouched). A question is asked only once
// nothing else is in progress.
//
// Threads: construct and connect on the main thread; call run() on a worker
// (QtConcurrent::run) or, for a program without an event loop, on the
// calling thread. The signals are emitted on the thread that runs; queued
// receivers on the main thread get them in order. overwriteQuestion is the
// only report the run waits for: it blocks the worker until
// answerOverwriteQuestion() is called, from any thread and at any later
// time (a window answers from its prompt's completion; a terminal program
// answers inside a directly connected slot). A receiver that goes away
// must answer OverwriteAnswer::canceled() first. Without any receiver of
// the question, conflicts are skipped. cancel() is safe from any thread,
// also from a signal handler. The settings store must outlive the run.
class TransferRun : public QObject {
    Q_OBJECT
public:
    TransferRun(const QList<TransferActionPtr>& actions, UserDefaults& settings,
                QObject* parent = nullptr);

    // Overwrite mode used instead of "transfer_overwrite_mode".
    void setOverwriteModeOverride(std::optional<OverwriteMode> mode) {
        m_overwriteModeOverride = mode;
    }

    // Remembers every file that arrives in the import history at `path`
    // (empty: none): a journal beside it takes each record as its file
    // arrives, and the run commits them in one transaction when it ends,
    // also when cancelled; a killed run's journal is committed by the next
    // opener of the history.
    void setImportHistory(const QString& path) { m_historyPath = path; }

    // How many files, or bytes, a batch holds before it is flushed (the
    // defaults of PublishBatch when not positive).
    void setBatchLimits(int files, qint64 bytes) {
        m_batchFiles = files;
        m_batchBytes = bytes;
    }

    // Runs every action; emits finished() and returns the same summary.
    TransferSummary run();

    void cancel() { m_canceledFlag.store(true); }
    bool isCanceled() const { return m_canceledFlag.load(); }
    std::atomic<bool>& cancelFlag() { return m_canceledFlag; }

    void answerOverwriteQuestion(const OverwriteAnswer& answer);

signals:
    // A file is about to be handled; `skippedSoFar` tells whether any file
    // of this run has been skipped before it.
    void fileStarted(const CameraFilePtr& source, bool skippedSoFar);
    // A file has been processed (successfully or not): its size.
    void bytesDone(qint64 bytes);
    // `destination` exists: replace, skip or stop? Answer with
    // answerOverwriteQuestion().
    void overwriteQuestion(const CameraFilePtr& source, const QString& destination);
    void finished(const TransferSummary& summary);

private:
    // A transfer started on a thread of its own: staged for the batch, or
    // carried out whole.
    struct Finishing {
        TransferActionPtr action;
        qint64 bytes = 0;
        bool replaceExisting = false;
        std::future<std::unique_ptr<StagedTransfer>> staged;
        std::future<bool> arrived;
    };
    // What the run has done so far.
    struct State {
        TransferSummary summary;
        bool skipped = false;
        // A name taken between the check and the publication is skipped.
        bool skipsExisting = false;
        std::optional<ImportJournal> journal;
        DestinationNames destinationNames;
        std::unique_ptr<PublishBatch> batch;
        // The batch before, published on a thread of its own while the
        // next one fills; reported once it is over.
        std::unique_ptr<PublishBatch> publishing;
        std::future<void> publishingDone;
        // Oldest first, reported in that order.
        std::deque<Finishing> inFlight;
    };
    static bool runsAlongside(const TransferAction& action);
    static Finishing start(const TransferActionPtr& action, bool replaceExisting);

    // Besides the run's own thread: a picture being turned may be joined by
    // the next ones, which may copy while it turns (at most two pictures
    // turn at once, see CameraDriveFile).
    static constexpr int maxInFlight = 3;

    // Takes the oldest transfer in flight: a staged one into the batch
    // (published when the batch is full), a whole one reported after the
    // batch.
    void collect(State& state);
    void collectAll(State& state);
    // Flushes, publishes and reports the batch, after the one before it.
    // `inBackground`: the batch is published on a thread of its own and
    // reported by the next publish() (or reportPublished()).
    void publish(State& state, bool inBackground = false);
    // Waits for the batch being published in the background and reports it.
    void reportPublished(State& state);
    // Whether the batch filling or the one being published goes to `destination`.
    static bool batchesHold(const State& state, const QString& destination);
    // `remember`: the file's record goes to the journal now.
    void count(State& state, const TransferActionPtr& action, bool arrived, bool remember = true);

    OverwriteMode overwriteMode() const;
    OverwriteAnswer ask(const CameraFilePtr& source, const QString& destination);

    QList<TransferActionPtr> m_actions;
    UserDefaults& m_settings;
    std::optional<OverwriteMode> m_overwriteModeOverride;
    QString m_historyPath;
    int m_batchFiles = 0;
    qint64 m_batchBytes = 0;
    std::atomic<bool> m_canceledFlag{false};

    QMutex m_answerLock;
    QSemaphore m_answerReady;
    bool m_awaitingAnswer = false;
    OverwriteAnswer m_pendingAnswer;
};
