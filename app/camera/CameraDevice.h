// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Camera.h"
#include "camera/gphoto/GPhotoDeviceDelegate.h"

#include <QMutex>

#include <memory>

class CameraDeviceDelegate;
class CameraThumbnailDelegate;
class GPhotoDevice;

// A camera reached as a device (PTP/MTP through libgphoto2) seen as a
// Camera, so the transfer engine treats it like a card.
//
// Threads: construction, openDevice(), the delegates and title() on the
// main thread; getFilesButImagesOnly() on any worker. The device's
// callbacks arrive on the main thread.
class CameraDevice : public Camera, public GPhotoDeviceDelegate {
public:
    CameraDevice() = default;
    ~CameraDevice() override;

    void setDeviceDelegate(CameraDeviceDelegate* delegate) { m_deviceDelegate = delegate; }
    void setThumbnailDelegate(CameraThumbnailDelegate* delegate) { m_thumbnailDelegate = delegate; }

    // Keeps the device, becomes its delegate and asks it to open a session;
    // the device delegate hears cameraDeviceBecomeReady() once it is ready.
    void openDevice(const std::shared_ptr<GPhotoDevice>& device);
    // The device, or null once it has gone away.
    std::shared_ptr<GPhotoDevice> cameraDevice() const;

    // The device's name; empty once it has gone.
    QString title() override;
    // Every picture and movie in the device's order (movies also when only
    // images are asked for); empty once the device has gone.
    QList<CameraFilePtr> getFilesButImagesOnly(bool imagesOnly, bool stopAtFirst) override;

    // GPhotoDeviceDelegate.
    void deviceDidBecomeReady(GPhotoDevice* device) override;
    // A device that fails to open simply never becomes ready.
    void didOpenSessionWithError(GPhotoDevice*, const QString&) override {}
    void didRemoveDevice(GPhotoDevice* device) override;
    void didReceiveThumbnailForItem(GPhotoDevice* device, GPhotoFile* file) override;

private:
    mutable QMutex m_deviceLock;
    std::shared_ptr<GPhotoDevice> m_device;
    CameraDeviceDelegate* m_deviceDelegate = nullptr;
    CameraThumbnailDelegate* m_thumbnailDelegate = nullptr;
};
