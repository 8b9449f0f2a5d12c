// SPDX-License-Identifier: GPL-3.0-or-later
#include "DeviceCameraSource.h"

#include "camera/CameraDevice.h"
#include "camera/gphoto/GPhotoAutodetect.h"
#include "camera/gphoto/GPhotoDevice.h"

#include <QEventLoop>
#include <QThread>

QList<GPhotoDeviceInfo> DeviceCameraSource::connectedCameras() {
    QList<GPhotoDeviceInfo> cameras;
    runBesideEventLoop([&cameras] { cameras = GPhotoAutodetect::detect(); });
    return cameras;
}

std::shared_ptr<CameraDevice> DeviceCameraSource::open(const QString& identifier, QString& error) {
    const std::optional<GPhotoDeviceInfo> info = GPhotoDeviceInfo::fromIdentifier(identifier);
    if (!info) {
        error = QStringLiteral("%1: not of the form MODEL@PORT").arg(identifier);
        return nullptr;
    }
    const std::shared_ptr<GPhotoDevice> device = GPhotoDevice::create(*info);
    auto camera = std::make_shared<CameraDevice>();
    QEventLoop loop;
    bool ready = false;
    QObject::connect(device.get(), &GPhotoDevice::becameReady, &loop, [&] {
        ready = true;
        loop.quit();
    });
    QObject::connect(device.get(), &GPhotoDevice::openFailed, &loop, [&](const QString& reason) {
        error = reason;
        loop.quit();
    });
    camera->openDevice(device);
    loop.exec();
    return ready ? camera : nullptr;
}

void DeviceCameraSource::runBesideEventLoop(const std::function<void()>& work) {
    QEventLoop loop;
    const std::unique_ptr<QThread> worker(QThread::create(work));
    // Queued to this thread: a worker done before exec() still ends the loop.
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    worker->start();
    loop.exec();
    worker->wait();
}
