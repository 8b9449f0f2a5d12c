// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchProgressController.h"

#include "ui_BatchProgress.h"

#include "BatchProcessWindow.h"

#include "Localization.h"
#include "batch/BatchSummary.h"

#include <QDir>
#include <QFileInfo>

namespace {

// QProgressBar counts in int: tenths of a percent.
constexpr int stepsPerPercent = 10;

} // namespace

BatchProgressController::BatchProgressController(QWidget* parent)
    : QWidget(parent)
    , m_ui(std::make_unique<Ui::BatchProgress>()) {
    m_ui->setupUi(this);
    m_startTimer.setSingleShot(true);
    m_startTimer.setInterval(startDelayMs);
    connect(&m_startTimer, &QTimer::timeout, this, [this] {
        if (auto* batchWindow = qobject_cast<BatchProcessWindow*>(m_window))
            batchWindow->process();
    });
    loadView();
}

BatchProgressController::~BatchProgressController() = default;

void BatchProgressController::loadView() {
    m_canGoBack = false;
    m_canContinue = false;
    m_ui->progress->setRange(0, 100 * stepsPerPercent);
    m_ui->failures->hide();
    showValue();
}

QProgressBar* BatchProgressController::progress() const {
    return m_ui->progress;
}

QString BatchProgressController::statusText() const {
    return m_ui->status->text();
}

QString BatchProgressController::summaryText() const {
    return m_ui->summary->text();
}

QString BatchProgressController::failuresText() const {
    return m_ui->failures->toPlainText();
}

void BatchProgressController::setCanContinue(bool canContinue) {
    m_canContinue = canContinue;
    if (m_window)
        m_window->updateButtons();
}

void BatchProgressController::didProgressToStage() {
    // Shown once only: the page cannot be left but by closing the window.
    if (!m_startTimer.isActive())
        m_startTimer.start();
}

void BatchProgressController::imageStarted(int index, int count, const QString& source) {
    m_ui->status->setText(Localization::localizedString("BATCH_PROCESS_IMAGE")
                              .arg(QFileInfo(source).fileName())
                              .arg(index + 1)
                              .arg(count));
}

void BatchProgressController::incrementBy(double step) {
    m_value = qBound(0.0, m_value + step, 100.0);
    showValue();
}

void BatchProgressController::showValue() {
    m_ui->progress->setValue(int(m_value * stepsPerPercent + 0.5));
}

void BatchProgressController::canceling() {
    m_ui->status->setText(Localization::localizedString("Canceling..."));
}

void BatchProgressController::setIndeterminate() {
    m_ui->progress->setRange(0, 0);
}

void BatchProgressController::showSummary(const BatchSummary& summary, const QString& destination) {
    m_ui->status->clear();
    const QString folder = QDir(destination).dirName();
    m_ui->summary->setText(Localization::localizedString(summary.canceled ? "BATCH_PROCESS_STOPPED"
                                                                          : "BATCH_PROCESS_WRITTEN",
                                                         summary.written)
                               .arg(folder));
    if (summary.failures.isEmpty()) {
        m_ui->failures->hide();
        return;
    }
    QStringList lines;
    for (const BatchOutcome& failure : summary.failures)
        lines.append(
            QStringLiteral("%1: %2").arg(QFileInfo(failure.source).fileName(), failure.reason));
    m_ui->summary->setText(
        m_ui->summary->text() + QLatin1Char('\n') +
        Localization::localizedString("BATCH_PROCESS_FAILED", int(summary.failures.size())));
    m_ui->failures->setPlainText(lines.join(QLatin1Char('\n')));
    m_ui->failures->show();
}
