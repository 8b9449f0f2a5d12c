// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "OverwriteAnswer.h"
#include "TransferAction.h"
#include "TransferSummary.h"

#include <QList>
#include <QMutex>
#include <QObject>
#include <QSemaphore>

#include <atomic>
#include <optional>

// Executes the planned actions of one transfer, one after another: resolves
// name conflicts by the overwrite mode (read once at the start) or by asking,
// honours the cancel flag after each processed file, and reports progress.
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
// also from a signal handler.
class TransferRun : public QObject {
    Q_OBJECT
public:
    explicit TransferRun(const QList<TransferActionPtr>& actions, QObject* parent = nullptr);

    // Overwrite mode used instead of "transfer_overwrite_mode".
    void setOverwriteModeOverride(std::optional<int> mode) { overwriteModeOverride = mode; }

    // Runs every action; emits finished() and returns the same summary.
    TransferSummary run();

    void cancel() { canceledFlag.store(true); }
    bool isCanceled() const { return canceledFlag.load(); }
    std::atomic<bool>& cancelFlag() { return canceledFlag; }

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
    int overwriteMode() const;
    OverwriteAnswer ask(const CameraFilePtr& source, const QString& destination);

    QList<TransferActionPtr> actions;
    std::optional<int> overwriteModeOverride;
    std::atomic<bool> canceledFlag{false};

    QMutex answerLock;
    QSemaphore answerReady;
    bool awaitingAnswer = false;
    OverwriteAnswer pendingAnswer;
};
