// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProgressBarController.h"

#include "Localization.h"
#include "ui_ProgressBar.h"

#include <QCloseEvent>
#include <QDialog>
#include <QKeyEvent>

namespace {

// Steps of the QProgressBar's integer range that the fractional value maps
// onto; fine enough that no visible step is lost.
constexpr int kBarSteps = 10000;

} // namespace

ProgressBarController::ProgressBarController(QWidget* window)
    : m_ui(std::make_unique<Ui::ProgressBar>()) {
    auto* dialog = new QDialog(window);
    m_ui->setupUi(dialog);
    m_dialog = dialog;
    dialog->setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    m_ui->cancelButton->setText(Localization::localizedString("Cancel"));
    m_ui->statusText->setText(QString());
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &ProgressBarController::cancel);
    // Escape and the window's close button must not end the sheet behind
    // its owner's back.
    m_filteredDialog = dialog;
    dialog->installEventFilter(this);
    setIndeterminate(true);
}

ProgressBarController::~ProgressBarController() {
    delete m_dialog.data();
}

std::unique_ptr<ProgressBarController>
ProgressBarController::progressBarIndeterinateForWindow(QWidget* window, bool cancelable) {
    auto controller = std::make_unique<ProgressBarController>(window);
    controller->cancelButton()->setEnabled(cancelable);
    controller->setIndeterminate(true);
    controller->beginSheet();
    return controller;
}

std::unique_ptr<ProgressBarController> ProgressBarController::progressBarForWindow(QWidget* window,
                                                                                   bool cancelable,
                                                                                   double minimum,
                                                                                   double maximum) {
    auto controller = std::make_unique<ProgressBarController>(window);
    controller->cancelButton()->setEnabled(cancelable);
    controller->setRange(minimum, maximum);
    controller->setDoubleValue(minimum);
    controller->setIndeterminate(false);
    controller->beginSheet();
    return controller;
}

QDialog* ProgressBarController::window() const {
    return m_dialog.data();
}

QLabel* ProgressBarController::statusText() const {
    return m_dialog ? m_ui->statusText : nullptr;
}

QPushButton* ProgressBarController::cancelButton() const {
    return m_dialog ? m_ui->cancelButton : nullptr;
}

QProgressBar* ProgressBarController::progressIndicator() const {
    return m_dialog ? m_ui->progressIndicator : nullptr;
}

void ProgressBarController::setStatusText(const QString& text) {
    if (m_dialog)
        m_ui->statusText->setText(text);
}

void ProgressBarController::setIndeterminate(bool indeterminate) {
    m_indeterminate = indeterminate;
    showValue();
}

void ProgressBarController::setRange(double minimum, double maximum) {
    m_minimum = minimum;
    m_maximum = qMax(minimum, maximum);
    m_value = qBound(m_minimum, m_value, m_maximum);
    showValue();
}

void ProgressBarController::setDoubleValue(double value) {
    m_value = qBound(m_minimum, value, m_maximum);
    showValue();
}

void ProgressBarController::incrementBy(double delta) {
    setDoubleValue(m_value + delta);
}

void ProgressBarController::showValue() {
    if (!m_dialog)
        return;
    QProgressBar* bar = m_ui->progressIndicator;
    if (m_indeterminate) {
        bar->setRange(0, 0); // Qt's busy indicator
        return;
    }
    bar->setRange(0, kBarSteps);
    const double span = m_maximum - m_minimum;
    const double fraction = span > 0 ? (m_value - m_minimum) / span : 0.0;
    bar->setValue(static_cast<int>(fraction * kBarSteps + 0.5));
}

void ProgressBarController::beginSheet() {
    if (m_dialog)
        m_dialog->open();
}

void ProgressBarController::cancel() {
    if (!m_dialog || !m_ui->cancelButton->isEnabled())
        return;
    m_canceled.store(true);
    m_ui->statusText->setText(Localization::localizedString("Canceling..."));
    setIndeterminate(true);
    m_ui->cancelButton->setEnabled(false);
    emit cancelRequested();
}

void ProgressBarController::finish() {
    if (!m_dialog || m_finishing)
        return;
    m_finishing = true;
    if (m_dialog->isVisible())
        m_dialog->done(QDialog::Accepted);
    m_finishing = false;
    emit finished();
}

bool ProgressBarController::eventFilter(QObject* watched, QEvent* event) {
    if (watched != m_filteredDialog || m_dialog.isNull())
        return QObject::eventFilter(watched, event);
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        cancel();
        return true;
    }
    if (event->type() == QEvent::Close && !m_finishing) {
        cancel();
        event->ignore();
        return true;
    }
    return QObject::eventFilter(watched, event);
}
