// SPDX-License-Identifier: GPL-3.0-or-later
#include "CameraDevice.h"

#include "CameraDeviceDelegate.h"
#include "CameraDeviceFile.h"
#include "CameraThumbnailDelegate.h"
#include "camera/gphoto/GPhotoDevice.h"

#include <QMutexLocker>

CameraDevice::~CameraDevice() {
    if (const std::shared_ptr<GPhotoDevice> device = cameraDevice();
        device && device->delegate() == this)
        device->setDelegate(nullptr);
}

void CameraDevice::openDevice(const std::shared_ptr<GPhotoDevice>& device) {
    if (!device)
        return;
    {
        QMutexLocker locker(&m_deviceLock);
        m_device = device;
    }
    device->setDelegate(this);
    device->requestOpenSession();
}

std::shared_ptr<GPhotoDevice> CameraDevice::cameraDevice() const {
    QMutexLocker locker(&m_deviceLock);
    return m_device;
}

QString CameraDevice::title() {
    const std::shared_ptr<GPhotoDevice> device = cameraDevice();
    return device ? device->name() : QString();
}

QList<CameraFilePtr> CameraDevice::getFilesButImagesOnly(bool /*imagesOnly*/, bool stopAtFirst) {
    QList<CameraFilePtr> files;
    const std::shared_ptr<GPhotoDevice> device = cameraDevice();
    if (!device)
        return files;
    for (const GPhotoFilePtr& file : device->mediaFiles()) {
        files.append(std::make_shared<CameraDeviceFile>(file));
        if (stopAtFirst)
            break;
    }
    return files;
}

void CameraDevice::deviceDidBecomeReady(GPhotoDevice*) {
    if (m_deviceDelegate)
        m_deviceDelegate->cameraDeviceBecomeReady(this);
}

void CameraDevice::didRemoveDevice(GPhotoDevice* device) {
    std::shared_ptr<GPhotoDevice> dropped;
    {
        QMutexLocker locker(&m_deviceLock);
        if (m_device.get() != device)
            return;
        dropped = std::exchange(m_device, nullptr);
    }
    dropped->setDelegate(nullptr);
}

void CameraDevice::didReceiveThumbnailForItem(GPhotoDevice*, GPhotoFile* file) {
    if (m_thumbnailDelegate)
        m_thumbnailDelegate->cameraFileThumbnailBecomeReady(file);
}
