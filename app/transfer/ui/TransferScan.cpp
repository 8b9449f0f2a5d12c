// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferScan.h"

#include "Localization.h"
#include "camera/Camera.h"
#include "transfer/ImportHistory.h"
#include "transfer/Transferer.h"
#include "widgets/ProgressBarController.h"

#include <QDialog>
#include <QtConcurrent/QtConcurrentRun>

TransferScan::TransferScan(QWidget* owner, QObject* parent)
    : QObject(parent)
    , m_window(owner) {
    connect(&m_watcher, &QFutureWatcher<void>::finished, this, &TransferScan::scanFinished);
}

TransferScan::~TransferScan() = default;

void TransferScan::start(std::shared_ptr<Transferer> transferer, std::shared_ptr<Camera> camera) {
    m_waitSheet = ProgressBarController::progressBarIndeterinateForWindow(m_window, false);
    m_waitSheet->setStatusText(Localization::localizedString("TRANSFER_SCANNING"));
    m_waitSheet->window()->raise();
    m_imported = std::make_shared<Imported>();
    m_watcher.setFuture(QtConcurrent::run([transferer, camera, imported = m_imported] {
        if (!transferer || !camera)
            return;
        ImportHistory history;
        transferer->scanCamera(*camera, [&history](const QList<CameraFilePtr>& listed) {
            return history.readAheadFor(listed);
        });
        QList<CameraFilePtr> files;
        for (const TransferTarget& group : transferer->targets())
            files += group.items();
        imported->files = history.importedAmong(files);
    }));
}

void TransferScan::scanFinished() {
    if (m_waitSheet) {
        m_waitSheet->finish();
        m_waitSheet.reset();
    }
    emit done();
}
