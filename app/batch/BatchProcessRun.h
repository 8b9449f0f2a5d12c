// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BatchImageJob.h"
#include "BatchOptions.h"
#include "BatchOutcome.h"
#include "BatchSummary.h"

#include <QFuture>
#include <QHash>
#include <QObject>
#include <QSet>
#include <QStringList>

#include <atomic>
#include <deque>
#include <memory>

class QThread;
class QThreadPool;

// One batch run: each picture of the list resized, converted and written
// under its new name into the destination folder, in the list's order, by
// the options taken when the run was made.
//
// Pictures are worked on by up to two pool threads at once (one per core,
// so at most two decoded pictures are in memory); their outputs are put in
// place one after the other, in order, by the thread that runs. An output
// becomes visible only complete, by an atomic rename of a hidden temporary
// file beside it; a source goes to the Trash only after its output is in
// place, except when the output takes the source's own name: then the
// source goes to the Trash first and comes back if the rename fails. A
// picture that fails leaves its source untouched and is reported with the
// reason; the run goes on with the next one.
//
// Threads: construct and connect on the main thread. run() works on the
// calling thread and emits every signal there (a program without an event
// loop, the tests); start() runs it on a thread of its own, and receivers
// on the main thread get the signals queued, in order. cancel() is safe
// from any thread, also from a signal handler: the run stops once the
// picture in hand is put in place (or has failed); pictures worked on ahead
// are dropped. Destroying a started run cancels it and waits for it.
class BatchProcessRun : public QObject {
    Q_OBJECT
public:
    BatchProcessRun(const QStringList& images, const BatchOptions& options,
                    QObject* parent = nullptr);
    ~BatchProcessRun() override;

    const QStringList& images() const { return m_images; }
    const BatchOptions& options() const { return m_options; }
    // The progress bar's step for each picture written: 100 / n.
    double progressStep() const;

    // Pictures worked on at once, 1 or 2; by default one per core, at most 2.
    void setParallelPictures(int count);

    BatchSummary run();
    void start();
    bool isRunning() const;

    void cancel() { m_canceledFlag.store(true); }
    bool isCanceled() const { return m_canceledFlag.load(); }
    std::atomic<bool>& cancelFlag() { return m_canceledFlag; }

signals:
    // The picture at `index` is the one in hand now.
    void imageStarted(int index, const QString& source);
    void imageFinished(const BatchOutcome& outcome);
    // A picture was written with nothing amiss: advance the bar by `step`.
    void progressIncrement(double step);
    void finished(const BatchSummary& summary);

private:
    QFuture<BatchImageJob::Result> submit(QThreadPool& pool, int index);
    BatchOutcome putInPlace(int index, const BatchImageJob::Result& result);
    // Why `target` may not be written for the picture at `index`; empty
    // when it may. `replacesSource` tells whether it is the source itself.
    QString conflictOf(int index, const QString& target, bool* replacesSource) const;

    QStringList m_images;
    BatchOptions m_options;
    int m_parallel;
    std::atomic<bool> m_canceledFlag{false};
    // Tells the jobs worked on ahead to give up.
    std::atomic<bool> m_abandonFlag{false};
    // The sources by their canonical path, and the outputs written so far.
    QHash<QString, int> m_sourceIndex;
    QSet<QString> m_writtenTargets;
    std::unique_ptr<QThread> m_thread;
};
