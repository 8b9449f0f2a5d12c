// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFutureWatcher>
#include <QObject>

#include <memory>

class Camera;
class ProgressBarController;
class Transferer;
class QWidget;

// Scans a camera into a transferer on a pool thread while a wait sheet
// without a cancel button covers the window. done() comes on the main
// thread once the sheet is gone.
//
// Threads: create and start on the main thread. The worker holds its own
// references to the camera and the transferer, so dropping this object
// mid-scan only drops the result.
class TransferScan : public QObject {
    Q_OBJECT

public:
    explicit TransferScan(QWidget* window, QObject* parent = nullptr);
    ~TransferScan() override;

    void start(std::shared_ptr<Transferer> transferer, std::shared_ptr<Camera> camera);
    bool isScanning() const { return m_watcher.isRunning(); }

signals:
    void done();

private:
    void scanFinished();

    QWidget* m_window;
    std::unique_ptr<ProgressBarController> m_waitSheet;
    QFutureWatcher<void> m_watcher;
};
