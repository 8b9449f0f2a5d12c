// SPDX-License-Identifier: GPL-3.0-or-later
#include "GPhotoDeviceBrowser.h"

#include "GPhotoAutodetect.h"
#include "GPhotoDevice.h"

#include <QtConcurrent>

GPhotoDeviceBrowser::GPhotoDeviceBrowser(QObject* parent)
    : GPhotoDeviceBrowser(&GPhotoAutodetect::detect, &GPhotoAutodetect::connectionSignature,
                          parent) {}

GPhotoDeviceBrowser::GPhotoDeviceBrowser(Detector detector_, Probe probe_, QObject* parent)
    : QObject(parent)
    , detector(std::move(detector_))
    , probe(std::move(probe_)) {
    pool.setMaxThreadCount(1);
    connect(&timer, &QTimer::timeout, this, &GPhotoDeviceBrowser::poll);
    connect(&watcher, &QFutureWatcher<std::optional<QList<GPhotoDeviceInfo>>>::finished, this,
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
    launch(true);
}

void GPhotoDeviceBrowser::poll() {
    launch(false);
}

void GPhotoDeviceBrowser::launch(bool force) {
    if (watcher.isRunning())
        return;
    // One job at a time, so lastSignature has a single user.
    watcher.setFuture(
        QtConcurrent::run(&pool, [this, force]() -> std::optional<QList<GPhotoDeviceInfo>> {
            QByteArray signature = probe();
            if (!force && signature == lastSignature)
                return std::nullopt;
            lastSignature = std::move(signature);
            return detector();
        }));
}

void GPhotoDeviceBrowser::watchDevice(const std::shared_ptr<GPhotoDevice>& device) {
    watched.append(device);
}

void GPhotoDeviceBrowser::takeScan() {
    const std::optional<QList<GPhotoDeviceInfo>> scanned = watcher.result();
    if (!scanned)
        return;
    const QList<GPhotoDeviceInfo> current = *scanned;
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
