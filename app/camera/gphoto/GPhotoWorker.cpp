// SPDX-License-Identifier: GPL-3.0-or-later
#include "GPhotoWorker.h"

#include "GPhotoSession.h"

#include <QMetaObject>

GPhotoWorker::GPhotoWorker(const QString& threadName)
    : m_context(new QObject) {
    m_thread.setObjectName(threadName);
    m_context->moveToThread(&m_thread);
    m_thread.start();
}

GPhotoWorker::~GPhotoWorker() {
    // Blocking is safe: jobs never wait for the main thread.
    QMetaObject::invokeMethod(
        m_context, [this] { m_session.reset(); }, Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
    delete m_context;
}

void GPhotoWorker::post(Job job) {
    QMetaObject::invokeMethod(
        m_context,
        [this, job = std::move(job)] {
            if (!m_session)
                m_session = std::make_unique<GPhotoSession>();
            job(*m_session);
        },
        Qt::QueuedConnection);
}
