// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GPhotoDeviceInfo.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>
#include <QThreadPool>
#include <QTimer>

#include <functional>
#include <memory>
#include <optional>

class GPhotoDevice;

// Watches for cameras coming and going by asking libgphoto2 every couple
// of seconds on a thread of its own; the differences are signalled on the
// main thread. Mass-storage ports are reported like any other: callers
// check GPhotoDeviceInfo::isMassStorage(). Main thread.
class GPhotoDeviceBrowser : public QObject {
    Q_OBJECT
public:
    using Detector = std::function<QList<GPhotoDeviceInfo>()>;
    using Probe = std::function<QByteArray()>;

    explicit GPhotoDeviceBrowser(QObject* parent = nullptr);
    // A detector and a change probe other than libgphoto2's, for tests.
    GPhotoDeviceBrowser(Detector detector, Probe probe, QObject* parent = nullptr);
    ~GPhotoDeviceBrowser() override;

    // Scans at once, then looks every `intervalMs` and scans again when
    // the connections have changed.
    void start(int intervalMs = 2000);
    void stop();
    // One scan now, unless one is running.
    void scanNow();
    // A scan if the connections changed since the last one.
    void poll();

    // The cameras seen by the last scan.
    QList<GPhotoDeviceInfo> devices() const { return m_known; }

    // The device hears deviceWasRemoved() when its camera leaves.
    void watchDevice(const std::shared_ptr<GPhotoDevice>& device);

signals:
    void deviceAdded(const GPhotoDeviceInfo& info);
    void deviceRemoved(const GPhotoDeviceInfo& info);
    // After every scan, once its differences have been signalled.
    void scanFinished();

private:
    void launch(bool force);
    void takeScan();

    Detector m_detector;
    Probe m_probe;
    QByteArray m_lastSignature; // used by the scan thread only
    QTimer m_timer;
    QThreadPool m_pool;
    // Empty result: nothing changed, nothing to compare.
    QFutureWatcher<std::optional<QList<GPhotoDeviceInfo>>> m_watcher;
    QList<GPhotoDeviceInfo> m_known;
    QList<std::weak_ptr<GPhotoDevice>> m_watched;
};
