// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferScan.h"

#include "Localization.h"
#include "camera/Camera.h"
#include "transfer/Transferer.h"
#include "widgets/ProgressBarController.h"

#include <QDialog>
#include <QtConcurrent/QtConcurrentRun>

TransferScan::TransferScan(QWidget* owner, QObject* parent)
    : QObject(parent)
    , window(owner) {
    connect(&watcher, &QFutureWatcher<void>::finished, this, &TransferScan::scanFinished);
}

TransferScan::~TransferScan() = default;

void TransferScan::start(std::shared_ptr<Transferer> transferer, std::shared_ptr<Camera> camera) {
    waitSheet = ProgressBarController::progressBarIndeterinateForWindow(window, false);
    waitSheet->setStatusText(Localization::localizedString("TRANSFER_SCANNING"));
    waitSheet->window()->raise();
    watcher.setFuture(QtConcurrent::run([transferer, camera] {
        if (transferer && camera)
            transferer->scanCamera(*camera);
    }));
}

void TransferScan::scanFinished() {
    if (waitSheet) {
        waitSheet->finish();
        waitSheet.reset();
    }
    emit done();
}
