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
#include <future>
#include <optional>

class UserDefaults;

// Executes the planned actions of one transfer in order: resolves name
// conflicts by the overwrite mode (read once at the start) or by asking,
// honours the cancel flag before each file, and reports progress. The copy
// of a drive file may start while the file before it is still being flushed
// to disk and published, so the disk never waits for the next file; the
// reports keep the order of the files (a file's fileStarted follows the
// bytesDone of the one before it), and a question is asked only once
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
    // A transfer started on a thread of its own.
    struct Finishing {
        TransferActionPtr action;
        qint64 bytes = 0;
        std::future<bool> arrived;
    };
    static bool runsAlongside(const TransferAction& action);
    static Finishing start(const TransferActionPtr& action, bool replaceExisting);

    OverwriteMode overwriteMode() const;
    OverwriteAnswer ask(const CameraFilePtr& source, const QString& destination);

    QList<TransferActionPtr> m_actions;
    UserDefaults& m_settings;
    std::optional<OverwriteMode> m_overwriteModeOverride;
    std::atomic<bool> m_canceledFlag{false};

    QMutex m_answerLock;
    QSemaphore m_answerReady;
    bool m_awaitingAnswer = false;
    OverwriteAnswer m_pendingAnswer;
};
