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

    QString title() const override { return m_name; }
    qint64 fileSize() const override { return m_size; }
    QDateTime creationDate() const override { return m_taken; }
    QDateTime modificationDate() const override { return m_taken; }
    QImage thumbnail() const override;
    bool transferFileTo(const QString& destination, TransferMode mode,
                        bool replaceExisting) override;

    void setThumbnail(const QImage& image);
    void setFails(bool fails) { m_failing = fails; }
    // The next transfer waits until openGate().
    void closeGate() { m_gated = true; }
    void openGate() { m_gate.release(); }
    // Transfers have begun (the worker may be waiting at the gate).
    bool transferStarted() const { return m_started.load(); }

private:
    const QString m_name;
    const QDateTime m_taken;
    const qint64 m_size;
    mutable QMutex m_lock;
    QImage m_image;
    bool m_failing = false;
    std::atomic<bool> m_gated{false};
    std::atomic<bool> m_started{false};
    QSemaphore m_gate;
};
