// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferRunSession.h"

#include "OverwritePromptController.h"

#include "UserDefaults.h"
#include "transfer/ImportHistory.h"
#include "transfer/OverwriteAnswer.h"
#include "transfer/TransferRun.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

TransferRunSession::TransferRunSession(const QList<TransferActionPtr>& actions, QWidget* owner,
                                       QObject* parent)
    : QObject(parent)
    , m_run(new TransferRun(actions, UserDefaults::standardUserDefaults(), this))
    , m_window(owner) {
    m_run->setImportHistory(ImportHistory::defaultPath());
    // The run emits on its worker; these connections queue each report to
    // the main thread, where they arrive in the order they were sent.
    connect(m_run, &TransferRun::fileStarted, this, &TransferRunSession::fileStarted,
            Qt::QueuedConnection);
    connect(m_run, &TransferRun::bytesDone, this, &TransferRunSession::bytesDone,
            Qt::QueuedConnection);
    connect(m_run, &TransferRun::finished, this, &TransferRunSession::finished,
            Qt::QueuedConnection);
    connect(
        m_run, &TransferRun::overwriteQuestion, this,
        [this](const CameraFilePtr& source, const QString&) { askOverwrite(source); },
        Qt::QueuedConnection);
}

TransferRunSession::~TransferRunSession() {
    if (m_prompt) {
        m_prompt->disconnect(this);
        delete m_prompt.data();
    }
    m_run->cancel();
    if (!m_future.isRunning())
        return;
    // Never wait here for the worker: a device camera's download needs the
    // main thread to finish. The run stops after its file and goes by itself.
    // From now on every question is answered "stop" on the worker itself;
    // a question already sent to this object is answered here.
    TransferRun* orphan = m_run;
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
    watcher->setFuture(m_future);
}

void TransferRunSession::start() {
    m_future = QtConcurrent::run([run = m_run] { run->run(); });
}

void TransferRunSession::cancel() {
    m_run->cancel();
}

OverwritePromptController* TransferRunSession::overwritePrompt() const {
    return m_prompt.data();
}

bool TransferRunSession::isRunning() const {
    return m_future.isRunning();
}

void TransferRunSession::askOverwrite(const CameraFilePtr& source) {
    auto* question = new OverwritePromptController(
        source ? source->title() : QString(), source ? source->thumbnail() : QImage(), m_window);
    m_prompt = question;
    connect(question, &QDialog::finished, this, [this, question] {
        OverwriteAnswer answer;
        answer.cancel = question->cancel();
        answer.doOverwrite = question->doOverwrite();
        answer.forAll = question->forAll();
        question->deleteLater();
        m_run->answerOverwriteQuestion(answer);
    });
    question->open();
}
