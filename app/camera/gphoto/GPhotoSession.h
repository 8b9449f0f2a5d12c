// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GPhotoDeviceInfo.h"

#include <QString>

struct _Camera;
struct _GPContext;

// One open libgphoto2 camera with its context. Not thread-safe: it lives on
// its device's worker thread and every call happens there.
class GPhotoSession {
public:
    GPhotoSession();
    ~GPhotoSession();
    GPhotoSession(const GPhotoSession&) = delete;
    GPhotoSession& operator=(const GPhotoSession&) = delete;

    // Picks the driver by model name and the port by path, then initialises
    // the camera. Empty on success, else a one-line reason.
    QString open(const GPhotoDeviceInfo& info);
    void close();
    bool isOpen() const { return m_camera != nullptr; }

    _Camera* camera() const { return m_camera; }
    _GPContext* context() const { return m_context; }

    // A one-line description of a libgphoto2 result, with the library's
    // last message when it gave one.
    QString describeError(int result, const QString& what);

private:
    _Camera* m_camera = nullptr;
    _GPContext* m_context = nullptr;
    QString m_lastMessage;
};
