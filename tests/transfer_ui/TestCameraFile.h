// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "camera/CameraFile.h"

#include <QMutex>
#include <QSemaphore>

#include <atomic>

// A camera file made up by a test: chosen name, size, date and thumbnail.
// Its transfer writes `size` bytes, can be made to fail, and with a gate
// waits (on the transfer worker) until the test opens it.
class TestCameraFile : public CameraFile {
public:
    TestCameraFile(const QString& title, const QDateTime& taken, qint64 size = 100);

    QString title() const override { return name; }
    qint64 fileSize() const override { return size; }
    QDateTime creationDate() const override { return taken; }
    QDateTime modificationDate() const override { return taken; }
    QImage thumbnail() const override;
    bool transferFileTo(const QString& destination, TransferMode mode,
                        bool replaceExisting) override;

    void setThumbnail(const QImage& image);
    void setFails(bool fails) { failing = fails; }
    // The next transfer waits until openGate().
    void closeGate() { gated = true; }
    void openGate() { gate.release(); }
    // Transfers have begun (the worker may be waiting at the gate).
    bool transferStarted() const { return started.load(); }

private:
    const QString name;
    const QDateTime taken;
    const qint64 size;
    mutable QMutex lock;
    QImage image;
    bool failing = false;
    std::atomic<bool> gated{false};
    std::atomic<bool> started{false};
    QSemaphore gate;
};
