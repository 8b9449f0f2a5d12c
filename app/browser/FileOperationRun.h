// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>

#include <atomic>
#include <functional>

class QThread;

// One file operation over a list of items (copy, move, turn) carried out
// in order on a worker thread of its own. Each step reports before it runs;
// a cancel takes effect after the step under way. The items whose step
// failed are collected and handed over once, at the end.
//
// Threads: created, started, cancelled and deleted on the main thread;
// `step` runs on the worker; the signals arrive on the main thread.
// Deleting a running operation cancels it and waits for the step under way.
class FileOperationRun : public QObject {
    Q_OBJECT
public:
    // Carries out the operation on one item; false when it failed.
    using Step = std::function<bool(const QString& item)>;

    FileOperationRun(const QStringList& items, Step step, QObject* parent = nullptr);
    ~FileOperationRun() override;

    const QStringList& items() const { return m_items; }
    void start();
    void cancel() { m_canceled.store(true); }
    bool isCanceled() const { return m_canceled.load(); }
    bool isRunning() const;

    // Runs every step on the calling thread; answers the failed items.
    QStringList runHere();

signals:
    // The step on `items()[index]` begins.
    void stepStarted(int index, const QString& item);
    void stepDone(int index, bool succeeded);
    // Every step has run, or the operation was cancelled.
    void finished(const QStringList& failed, bool canceled);

private:
    QStringList m_items;
    Step m_step;
    std::atomic<bool> m_canceled{false};
    QThread* m_thread = nullptr;
};
