// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferProgressPage.h"

#include "ui_TransferAssistant.h"

#include "ThumbnailLabel.h"

#include "Localization.h"
#include "transfer/TransferSummary.h"

namespace {

// QProgressBar counts in int; byte totals of a card do not fit.
constexpr int progressSteps = 10000;

} // namespace

TransferProgressPage::TransferProgressPage(Ui::TransferAssistant& form, QObject* parent)
    : QObject(parent)
    , ui(form) {}

void TransferProgressPage::begin(qint64 totalBytes) {
    allBytes = totalBytes;
    doneBytes = 0;
    ui.progress->setRange(0, progressSteps);
    showProgress();
    ui.status->clear();
    ui.message->hide();
    ui.failureMessage->hide();
    ui.thumbnailTransfer->clear();
}

void TransferProgressPage::fileStarted(const CameraFilePtr& source, bool skippedSoFar) {
    if (source) {
        ui.status->setText(source->title());
        const QImage thumbnail = source->thumbnail();
        if (!thumbnail.isNull())
            showThumbnail(thumbnail);
    }
    if (skippedSoFar)
        ui.message->show();
}

void TransferProgressPage::bytesDone(qint64 bytes) {
    doneBytes += bytes;
    showProgress();
}

void TransferProgressPage::showProgress() {
    if (allBytes <= 0) {
        ui.progress->setValue(0);
        return;
    }
    const qint64 done = qBound<qint64>(0, doneBytes, allBytes);
    ui.progress->setValue(int(double(done) / double(allBytes) * progressSteps));
}

void TransferProgressPage::finished(const TransferSummary& summary) {
    ui.status->setText(QStringLiteral("Completed!"));
    // A skip of the last file has no later file start to reveal it.
    if (summary.skipped > 0)
        ui.message->show();
    if (summary.failed > 0) {
        QString names = summary.failedNames.mid(0, listedFailureNames).join(QStringLiteral(", "));
        if (summary.failedNames.size() > listedFailureNames)
            names += QStringLiteral(", …");
        ui.failureMessage->setText(
            Localization::localizedString("TRANSFER_FAILED_FILES", summary.failed).arg(names));
        ui.failureMessage->setToolTip(summary.failedNames.join(QLatin1Char('\n')));
        ui.failureMessage->show();
    }
}

void TransferProgressPage::showThumbnail(const QImage& thumbnail) {
    ThumbnailLabel::setImage(ui.thumbnailTransfer, thumbnail);
}
