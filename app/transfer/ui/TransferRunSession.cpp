// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferRunSession.h"

#include "OverwritePromptController.h"

#include "UserDefaults.h"
#include "transfer/OverwriteAnswer.h"
#include "transfer/TransferRun.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

TransferRunSession::TransferRunSession(const QList<TransferActionPtr>& actions, QWidget* owner,
                                       QObject* parent)
    : QObject(parent)
    , run(new TransferRun(actions, UserDefaults::standardUserDefaults(), this))
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
    if (!future.isRunning())
        return;
    // Never wait here for the worker: a device camera's download needs the
    // main thread to finish. The run stops after its file and goes by itself.
    // From now on every question is answered "stop" on the worker itself;
    // a question already sent to this object is answered here.
    TransferRun* orphan = run;
    connect(
        orphan, &TransferRun::overwriteQuestion, orphan,
        [orphan] { orphan->answerOverwriteQuestion(OverwriteAnswer::canceled()); },
        Qt::DirectConnection);
    orphan->disconnect(this);
    orphan->answerOverwriteQuestion(OverwriteAnswer::canceled());
    orphan->setParent(nullptr);
    auto* watcher = new QFutureWatcher<void>;
    connect(watcher, &QFutureWatcher<void>::finished, watcher, [orphan, watcher] {
        delete orphan;
        watcher->deleteLater();
    });
    watcher->setFuture(future);
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
