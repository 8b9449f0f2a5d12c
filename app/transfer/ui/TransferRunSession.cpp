// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferRunSession.h"

#include "OverwritePromptController.h"

#include "transfer/OverwriteAnswer.h"
#include "transfer/TransferRun.h"

#include <QThread>
#include <QtConcurrent/QtConcurrentRun>

TransferRunSession::TransferRunSession(const QList<TransferActionPtr>& actions, QWidget* owner,
                                       QObject* parent)
    : QObject(parent)
    , run(new TransferRun(actions, this))
    , window(owner) {
    // The run emits on its worker; these connections queue each report to
    // the main thread, where they arrive in the order they were sent.
    connect(run, &TransferRun::fileStarted, this, &TransferRunSession::fileStarted,
            Qt::QueuedConnection);
    connect(run, &TransferRun::bytesDone, this, &TransferRunSession::bytesDone,
            Qt::QueuedConnection);
    connect(run, &TransferRun::finished, this, &TransferRunSession::finished, Qt::QueuedConnection);
    connect(
        run, &TransferRun::overwriteQuestion, this,
        [this](const CameraFilePtr& source, const QString&) { askOverwrite(source); },
        Qt::QueuedConnection);
}

TransferRunSession::~TransferRunSession() {
    if (prompt) {
        prompt->disconnect(this);
        delete prompt.data();
    }
    run->cancel();
    // A question may be posed at any moment until the worker ends; an
    // answer given before it waits would be lost, so keep answering.
    while (future.isRunning()) {
        run->answerOverwriteQuestion(OverwriteAnswer::canceled());
        QThread::msleep(5);
    }
    future.waitForFinished();
}

void TransferRunSession::start() {
    future = QtConcurrent::run([run = run] { run->run(); });
}

void TransferRunSession::cancel() {
    run->cancel();
}

OverwritePromptController* TransferRunSession::overwritePrompt() const {
    return prompt.data();
}

bool TransferRunSession::isRunning() const {
    return future.isRunning();
}

void TransferRunSession::askOverwrite(const CameraFilePtr& source) {
    auto* question = new OverwritePromptController(source ? source->title() : QString(),
                                                   source ? source->thumbnail() : QImage(), window);
    prompt = question;
    connect(question, &QDialog::finished, this, [this, question] {
        OverwriteAnswer answer;
        answer.cancel = question->cancel();
        answer.doOverwrite = question->doOverwrite();
        answer.forAll = question->forAll();
        question->deleteLater();
        run->answerOverwriteQuestion(answer);
    });
    question->open();
}
