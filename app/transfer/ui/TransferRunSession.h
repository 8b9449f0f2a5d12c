// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "transfer/TransferAction.h"
#include "transfer/TransferSummary.h"

#include <QFuture>
#include <QObject>
#include <QPointer>

class OverwritePromptController;
class TransferRun;
class QWidget;

// One transfer run of the assistant: the run works on a pool thread, its
// reports reach the receivers of this object's signals on the main thread,
// in order, and each overwrite question is asked with a prompt sheet on
// `window` while only the worker waits for the answer.
//
// Threads: create, start, cancel and destroy on the main thread. The
// destructor does not wait: it stops the run (cancel flag, every question
// answered "stop") and leaves it to finish its file and delete itself.
class TransferRunSession : public QObject {
    Q_OBJECT

public:
    TransferRunSession(const QList<TransferActionPtr>& actions, QWidget* window,
                       QObject* parent = nullptr);
    ~TransferRunSession() override;

    void start();
    // The run stops after the file it is handling.
    void cancel();
    bool isRunning() const;

    // The prompt on screen, if a question is pending.
    OverwritePromptController* overwritePrompt() const;

signals:
    void fileStarted(const CameraFilePtr& source, bool skippedSoFar);
    void bytesDone(qint64 bytes);
    void finished(const TransferSummary& summary);

private:
    void askOverwrite(const CameraFilePtr& source);

    TransferRun* m_run;
    QWidget* m_window;
    QFuture<void> m_future;
    QPointer<OverwritePromptController> m_prompt;
};
