// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "camera/CameraFile.h"

#include <QFutureWatcher>
#include <QList>
#include <QObject>

#include <memory>

class Camera;
class ProgressBarController;
class Transferer;
class QWidget;

// Scans a camera into a transferer on a pool thread while a wait sheet
// without a cancel button covers the window, and asks the import history
// (opened on that thread) which files were imported before. done() comes
// on the main thread once the sheet is gone.
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
    // The scanned files the import history knows; valid after done().
    const QList<CameraFilePtr>& importedFiles() const { return m_imported->files; }

signals:
    void done();

private:
    // Shared with the worker, which may outlive this object.
    struct Imported {
        QList<CameraFilePtr> files;
    };
    void scanFinished();

    std::shared_ptr<Imported> m_imported = std::make_shared<Imported>();

    QWidget* m_window;
    std::unique_ptr<ProgressBarController> m_waitSheet;
    QFutureWatcher<void> m_watcher;
};
