// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class CameraDevice;

// Told when a device camera can list and hand over its files (main
// thread). Not owned by the camera.
class CameraDeviceDelegate {
public:
    virtual ~CameraDeviceDelegate() = default;
    virtual void cameraDeviceBecomeReady(CameraDevice* camera) = 0;
};
