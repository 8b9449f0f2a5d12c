// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class GPhotoDevice;
class GPhotoFile;

// What a device tells its delegate, always on the main thread. The
// delegate is not owned by the device.
class GPhotoDeviceDelegate {
public:
    virtual ~GPhotoDeviceDelegate() = default;
    // The session is open and the whole media catalogue is known.
    virtual void deviceDidBecomeReady(GPhotoDevice* device) = 0;
    // After requestOpenSession(): an empty error means the session is open.
    virtual void didOpenSessionWithError(GPhotoDevice* device, const QString& error) = 0;
    virtual void didRemoveDevice(GPhotoDevice* device) = 0;
    // The file's thumbnailIfAvailable() now answers an image.
    virtual void didReceiveThumbnailForItem(GPhotoDevice* device, GPhotoFile* file) = 0;
};
