// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "camera/gphoto/GPhotoDeviceInfo.h"

#include <QList>
#include <QString>

#include <functional>
#include <memory>

class CameraDevice;

// Device cameras for pixhaul-import. The device answers on the main
// thread, so everything here is called there and runs its event loop
// while it waits; a transfer from a device runs on a worker meanwhile.
class DeviceCameraSource {
public:
    // The cameras libgphoto2 finds connected now.
    static QList<GPhotoDeviceInfo> connectedCameras();

    // Opens "MODEL@PORT" and waits until the whole catalogue is known. Null,
    // with a one-line `error`, when the camera cannot be opened.
    static std::shared_ptr<CameraDevice> open(const QString& identifier, QString& error);

    // Runs `work` on a worker thread while this thread delivers the
    // device's answers; returns when the work is done.
    static void runBesideEventLoop(const std::function<void()>& work);
};
