// SPDX-License-Identifier: GPL-3.0-or-later
#include "GPhotoWorker.h"

#include "GPhotoSession.h"

#include <QMetaObject>

GPhotoWorker::GPhotoWorker(const QString& threadName)
    : context(new QObject) {
    thread.setObjectName(threadName);
    context->moveToThread(&thread);
    thread.start();
}

GPhotoWorker::~GPhotoWorker() {
    // Blocking is safe: jobs never wait for the main thread.
    QMetaObject::invokeMethod(
        context, [this] { session.reset(); }, Qt::BlockingQueuedConnection);
    thread.quit();
    thread.wait();
    delete context;
}

void GPhotoWorker::post(Job job) {
    QMetaObject::invokeMethod(
        context,
        [this, job = std::move(job)] {
            if (!session)
                session = std::make_unique<GPhotoSession>();
            job(*session);
        },
        Qt::QueuedConnection);
}
