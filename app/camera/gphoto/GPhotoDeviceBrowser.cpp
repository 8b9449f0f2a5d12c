// SPDX-License-Identifier: GPL-3.0-or-later
#include "GPhotoDeviceBrowser.h"

#include "GPhotoAutodetect.h"
#include "GPhotoDevice.h"

#include <QtConcurrent>

GPhotoDeviceBrowser::GPhotoDeviceBrowser(QObject* parent)
    : GPhotoDeviceBrowser(&GPhotoAutodetect::detect, parent) {}

GPhotoDeviceBrowser::GPhotoDeviceBrowser(Detector detector_, QObject* parent)
    : QObject(parent)
    , detector(std::move(detector_)) {
    pool.setMaxThreadCount(1);
    connect(&timer, &QTimer::timeout, this, &GPhotoDeviceBrowser::scanNow);
    connect(&watcher, &QFutureWatcher<QList<GPhotoDeviceInfo>>::finished, this,
            &GPhotoDeviceBrowser::takeScan);
}

GPhotoDeviceBrowser::~GPhotoDeviceBrowser() {
    timer.stop();
    watcher.disconnect(this);
    watcher.waitForFinished();
    pool.waitForDone();
}

void GPhotoDeviceBrowser::start(int intervalMs) {
    timer.start(intervalMs);
    scanNow();
}

void GPhotoDeviceBrowser::stop() {
    timer.stop();
}

void GPhotoDeviceBrowser::scanNow() {
    if (watcher.isRunning())
        return;
    watcher.setFuture(QtConcurrent::run(&pool, detector));
}

void GPhotoDeviceBrowser::watchDevice(const std::shared_ptr<GPhotoDevice>& device) {
    watched.append(device);
}

void GPhotoDeviceBrowser::takeScan() {
    const QList<GPhotoDeviceInfo> current = watcher.result();
    const QList<GPhotoDeviceInfo> previous = std::exchange(known, current);
    for (const GPhotoDeviceInfo& info : previous) {
        if (current.contains(info))
            continue;
        for (const std::weak_ptr<GPhotoDevice>& entry : std::as_const(watched)) {
            if (const std::shared_ptr<GPhotoDevice> device = entry.lock();
                device && device->info() == info)
                device->deviceWasRemoved();
        }
        emit deviceRemoved(info);
    }
    watched.removeIf([](const std::weak_ptr<GPhotoDevice>& entry) {
        const std::shared_ptr<GPhotoDevice> device = entry.lock();
        return !device || device->isRemoved();
    });
    for (const GPhotoDeviceInfo& info : current) {
        if (!previous.contains(info))
            emit deviceAdded(info);
    }
    emit scanFinished();
}
