// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileOperationRun.h"

#include <QThread>

FileOperationRun::FileOperationRun(const QStringList& items, Step step, QObject* parent)
    : QObject(parent)
    , m_items(items)
    , m_step(std::move(step)) {}

FileOperationRun::~FileOperationRun() {
    cancel();
    if (m_thread) {
        m_thread->wait();
        delete m_thread;
    }
}

bool FileOperationRun::isRunning() const {
    return m_thread && m_thread->isRunning();
}

QStringList FileOperationRun::runHere() {
    QStringList failed;
    for (qsizetype index = 0; index < m_items.size() && !isCanceled(); ++index) {
        const QString& item = m_items.at(index);
        emit stepStarted(int(index), item);
        const bool succeeded = m_step(item);
        if (!succeeded)
            failed.append(item);
        emit stepDone(int(index), succeeded);
    }
    return failed;
}

void FileOperationRun::start() {
    if (m_thread)
        return;
    m_thread = QThread::create([this] {
        const QStringList failed = runHere();
        emit finished(failed, isCanceled());
    });
    m_thread->start();
}
