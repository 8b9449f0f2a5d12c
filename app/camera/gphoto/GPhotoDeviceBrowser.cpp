// SPDX-License-Identifier: GPL-3.0-or-later
#include "GPhotoDeviceBrowser.h"

#include "GPhotoAutodetect.h"
#include "GPhotoDevice.h"

#include "PoolTask.h"

GPhotoDeviceBrowser::GPhotoDeviceBrowser(QObject* parent)
    : GPhotoDeviceBrowser(&GPhotoAutodetect::detect, &GPhotoAutodetect::connectionSignature,
                          parent) {}

GPhotoDeviceBrowser::GPhotoDeviceBrowser(Detector detector, Probe probe, QObject* parent)
    : QObject(parent)
    , m_detector(std::move(detector))
    , m_probe(std::move(probe)) {
    m_pool.setMaxThreadCount(1);
    connect(&m_timer, &QTimer::timeout, this, &GPhotoDeviceBrowser::poll);
    connect(&m_watcher, &QFutureWatcher<std::optional<QList<GPhotoDeviceInfo>>>::finished, this,
            &GPhotoDeviceBrowser::takeScan);
}

GPhotoDeviceBrowser::~GPhotoDeviceBrowser() {
    m_timer.stop();
    m_watcher.disconnect(this);
    m_watcher.waitForFinished();
    m_pool.waitForDone();
}

void GPhotoDeviceBrowser::start(int intervalMs) {
    m_timer.start(intervalMs);
    scanNow();
}

void GPhotoDeviceBrowser::stop() {
    m_timer.stop();
}

void GPhotoDeviceBrowser::scanNow() {
    launch(true);
}

void GPhotoDeviceBrowser::poll() {
    launch(false);
}

void GPhotoDeviceBrowser::launch(bool force) {
    if (m_watcher.isRunning())
        return;
    // One job at a time, so lastSignature has a single user.
    m_watcher.setFuture(
        PoolTask::run(&m_pool, [this, force]() -> std::optional<QList<GPhotoDeviceInfo>> {
            QByteArray signature = m_probe();
            if (!force && signature == m_lastSignature)
                return std::nullopt;
            m_lastSignature = std::move(signature);
            return m_detector();
        }));
}

void GPhotoDeviceBrowser::watchDevice(const std::shared_ptr<GPhotoDevice>& device) {
    m_watched.append(device);
}

void GPhotoDeviceBrowser::takeScan() {
    const std::optional<QList<GPhotoDeviceInfo>> scanned = m_watcher.result();
    if (!scanned)
        return;
    const QList<GPhotoDeviceInfo> current = *scanned;
    const QList<GPhotoDeviceInfo> previous = std::exchange(m_known, current);
    for (const GPhotoDeviceInfo& info : previous) {
        if (current.contains(info))
            continue;
        for (const std::weak_ptr<GPhotoDevice>& entry : std::as_const(m_watched)) {
            if (const std::shared_ptr<GPhotoDevice> device = entry.lock();
                device && device->info() == info)
                device->deviceWasRemoved();
        }
        emit deviceRemoved(info);
    }
    m_watched.removeIf([](const std::weak_ptr<GPhotoDevice>& entry) {
        const std::shared_ptr<GPhotoDevice> device = entry.lock();
        return !device || device->isRemoved();
    });
    for (const GPhotoDeviceInfo& info : current) {
        if (!previous.contains(info))
            emit deviceAdded(info);
    }
    emit scanFinished();
}
