// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferProgressPage.h"

#include "ui_TransferAssistant.h"

#include "ThumbnailLabel.h"

#include "Localization.h"
#include "PoolTask.h"
#include "transfer/TransferSummary.h"

#include <QFutureWatcher>
#include <QThreadPool>

#include <utility>

namespace {

// QProgressBar counts in int; byte totals of a card do not fit.
constexpr int progressSteps = 10000;

} // namespace

TransferProgressPage::TransferProgressPage(Ui::TransferAssistant& form, QObject* parent)
    : QObject(parent)
    , m_ui(form) {}

void TransferProgressPage::begin(int totalFiles, qint64 totalBytes, int alreadyImported) {
    m_progress.emplace(totalFiles, totalBytes);
    m_alreadyImported = alreadyImported;
    m_ui.progress->setRange(0, progressSteps);
    showProgress(true);
    m_ui.status->clear();
    m_ui.message->hide();
    m_ui.failureMessage->hide();
    m_ui.finishedCounts->hide();
    m_ui.showInBrowserButton->hide();
    m_ui.thumbnailTransfer->clear();
}

void TransferProgressPage::fileStarted(const CameraFilePtr& source, bool skippedSoFar) {
    if (m_progress)
        m_progress->fileStarted();
    if (source) {
        m_ui.status->setText(source->title());
        loadThumbnail(source);
    }
    if (skippedSoFar)
        m_ui.message->show();
    showProgress(false);
}

void TransferProgressPage::bytesDone(qint64 bytes) {
    if (m_progress)
        m_progress->bytesDone(bytes);
    showProgress(false);
}

void TransferProgressPage::showProgress(bool now) {
    if (!m_progress || (!m_progress->redrawDue() && !now))
        return;
    m_ui.progressDetails->setText(m_progress->statusText());
    const qint64 all = m_progress->totalBytes();
    if (all <= 0) {
        m_ui.progress->setValue(0);
        return;
    }
    const qint64 done = qBound<qint64>(0, m_progress->bytesDone(), all);
    m_ui.progress->setValue(int(double(done) / double(all) * progressSteps));
}

void TransferProgressPage::finished(const TransferSummary& summary) {
    showProgress(true);
    m_ui.status->setText(QStringLiteral("Completed!"));
    m_ui.finishedCounts->setText(Localization::localizedString("TRANSFER_FINISHED_COUNTS")
                                     .arg(summary.transferred)
                                     .arg(summary.skipped)
                                     .arg(m_alreadyImported)
                                     .arg(summary.failed));
    m_ui.finishedCounts->show();
    m_ui.showInBrowserButton->show();
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

// Read on the pool: a file's thumbnail comes from its EXIF block or a RAW
// file's preview, disk work that must not hold up the window.
void TransferProgressPage::loadThumbnail(const CameraFilePtr& source) {
    m_nextThumbnail = source;
    if (!m_thumbnailLoading)
        loadNextThumbnail();
}

void TransferProgressPage::loadNextThumbnail() {
    const CameraFilePtr source = std::exchange(m_nextThumbnail, nullptr);
    m_thumbnailLoading = source != nullptr;
    if (!source)
        return;
    auto* reading = new QFutureWatcher<QImage>(this);
    connect(reading, &QFutureWatcherBase::finished, this, [this, reading] {
        reading->deleteLater();
        const QImage thumbnail = reading->result();
        if (!thumbnail.isNull())
            showThumbnail(thumbnail);
        loadNextThumbnail();
    });
    reading->setFuture(
        PoolTask::run(QThreadPool::globalInstance(), [source] { return source->thumbnail(); }));
}

void TransferProgressPage::showThumbnail(const QImage& thumbnail) {
    ThumbnailLabel::setImage(m_ui.thumbnailTransfer, thumbnail);
}
