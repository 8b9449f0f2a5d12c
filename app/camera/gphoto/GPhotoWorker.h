// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QThread>

#include <atomic>
#include <functional>
#include <memory>

class GPhotoSession;

// The thread that owns one camera's libgphoto2 session: every job posted
// here runs on it, one after another, in the order posted. Results go back
// to the main thread by the jobs themselves (queued invocations).
class GPhotoWorker {
public:
    using Job = std::function<void(GPhotoSession&)>;

    explicit GPhotoWorker(const QString& threadName);
    // Closes the session on the worker after the jobs already posted, then
    // stops the thread. Main thread.
    ~GPhotoWorker();
    GPhotoWorker(const GPhotoWorker&) = delete;
    GPhotoWorker& operator=(const GPhotoWorker&) = delete;

    // Any thread.
    void post(Job job);

    // Set (from any thread) when the device's requests have been given up;
    // jobs read it before putting anything in place.
    std::atomic<bool>& abandoned() { return m_abandoned; }

private:
    QThread m_thread;
    QObject* m_context = nullptr;
    std::unique_ptr<GPhotoSession> m_session; // created and destroyed on the thread
    std::atomic<bool> m_abandoned{false};
};
