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
    , m_ui(form) {}

void TransferProgressPage::begin(qint64 totalBytes) {
    m_allBytes = totalBytes;
    m_doneBytes = 0;
    m_ui.progress->setRange(0, progressSteps);
    showProgress();
    m_ui.status->clear();
    m_ui.message->hide();
    m_ui.failureMessage->hide();
    m_ui.thumbnailTransfer->clear();
}

void TransferProgressPage::fileStarted(const CameraFilePtr& source, bool skippedSoFar) {
    if (source) {
        m_ui.status->setText(source->title());
        const QImage thumbnail = source->thumbnail();
        if (!thumbnail.isNull())
            showThumbnail(thumbnail);
    }
    if (skippedSoFar)
        m_ui.message->show();
}

void TransferProgressPage::bytesDone(qint64 bytes) {
    m_doneBytes += bytes;
    showProgress();
}

void TransferProgressPage::showProgress() {
    if (m_allBytes <= 0) {
        m_ui.progress->setValue(0);
        return;
    }
    const qint64 done = qBound<qint64>(0, m_doneBytes, m_allBytes);
    m_ui.progress->setValue(int(double(done) / double(m_allBytes) * progressSteps));
}

void TransferProgressPage::finished(const TransferSummary& summary) {
    m_ui.status->setText(QStringLiteral("Completed!"));
    // A skip of the last file has no later file start to reveal it.
    if (summary.skipped > 0)
        m_ui.message->show();
    if (summary.failed > 0) {
        QString names = summary.failedNames.mid(0, listedFailureNames).join(QStringLiteral(", "));
        if (summary.failedNames.size() > listedFailureNames)
            names += QStringLiteral(", …");
        m_ui.failureMessage->setText(
            Localization::localizedString("TRANSFER_FAILED_FILES", summary.failed).arg(names));
        m_ui.failureMessage->setToolTip(summary.failedNames.join(QLatin1Char('\n')));
        m_ui.failureMessage->show();
    }
}

void TransferProgressPage::showThumbnail(const QImage& thumbnail) {
    ThumbnailLabel::setImage(m_ui.thumbnailTransfer, thumbnail);
}
