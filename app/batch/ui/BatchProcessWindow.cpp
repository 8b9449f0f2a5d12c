// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchProcessWindow.h"

#include "BatchConvertController.h"
#include "BatchOutputController.h"
#include "BatchProgressController.h"
#include "BatchResizeController.h"

#include "Localization.h"
#include "UserDefaults.h"
#include "batch/BatchProcessRun.h"
#include "batch/BatchSummary.h"

#include <QEvent>
#include <QIcon>
#include <QPushButton>
#include <QStackedWidget>
#include <QStyle>

namespace {

constexpr int pictureSize = 128;

enum PageIndex { resizePage = 0, convertPage = 1, outputPage = 2, progressPage = 3 };

QList<QWidget*> makePages(const QString& initialPath, UserDefaults& settings) {
    return {new BatchResizeController(settings), new BatchConvertController(settings),
            new BatchOutputController(initialPath, settings), new BatchProgressController};
}

template <typename Page> Page* pageAt(const QList<QWidget*>& pages, int index) {
    return static_cast<Page*>(pages.at(index));
}

} // namespace

BatchProcessWindow::BatchProcessWindow(const QString& initialPath, const QStringList& images,
                                       UserDefaults& settings, QWidget* parent)
    : WizardWindow(makePages(initialPath, settings), heightAdjustmentValue, {}, parent)
    , m_initialPath(initialPath)
    , m_images(images)
    , m_settings(settings)
    , m_resizeController(pageAt<BatchResizeController>(pages(), resizePage))
    , m_convertController(pageAt<BatchConvertController>(pages(), convertPage))
    , m_outputController(pageAt<BatchOutputController>(pages(), outputPage))
    , m_progressController(pageAt<BatchProgressController>(pages(), progressPage)) {
    setWindowTitle(Localization::localizedString("BATCH_PROCESS_TITLE"));
    // The handler decides when the window goes: not while the run works.
    setClosesOnCompletion(false);
    setCompletionHandler([this](bool completed) { completionHandler(completed); });

    QIcon picture = QIcon::fromTheme(QStringLiteral("pixhaul"),
                                     QIcon::fromTheme(QStringLiteral("camera-photo")));
    if (picture.isNull())
        picture = style()->standardIcon(QStyle::SP_DirIcon);
    setBackgroundImage(picture.pixmap(pictureSize));

    m_endingTimer.setSingleShot(true);
    m_endingTimer.setInterval(endingDelayMs);
    connect(&m_endingTimer, &QTimer::timeout, this, [this] { done(); });
    fitPages();
}

BatchProcessWindow::~BatchProcessWindow() {
    // Stops a run still at work and waits for it, before the pages go.
    m_run.reset();
}

void BatchProcessWindow::changeEvent(QEvent* event) {
    WizardWindow::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitPages();
}

void BatchProcessWindow::fitPages() {
    QStackedWidget* box = contentBox();
    int width = box->minimumWidth();
    for (QWidget* page : pages())
        width = qMax(width, page->minimumSizeHint().width());
    int height = box->minimumHeight();
    for (QWidget* page : pages()) {
        height = qMax(height, page->minimumSizeHint().height());
        if (page->hasHeightForWidth())
            height = qMax(height, page->heightForWidth(width));
    }
    box->setMinimumSize(width, height);
}

void BatchProcessWindow::show(QWidget* window) {
    m_closed = false;
    fitPages();
    if (window) {
        beginSheet(window);
        return;
    }
    setWindowModality(Qt::NonModal);
    QDialog::show();
    raise();
    activateWindow();
}

void BatchProcessWindow::process() {
    if (m_processing || m_closed)
        return;
    m_processing = true;
    m_canceled = false;

    // Saved first, so the choices persist even when the run is canceled.
    m_resizeController->save();
    m_convertController->save();
    m_outputController->save();
    m_runOptions = optionsFromPages();

    m_run = std::make_unique<BatchProcessRun>(m_images, m_runOptions);
    const int count = int(m_images.size());
    connect(m_run.get(), &BatchProcessRun::imageStarted, this,
            [this, count](int index, const QString& source) {
                if (!m_canceled)
                    m_progressController->imageStarted(index, count, source);
            });
    connect(m_run.get(), &BatchProcessRun::progressIncrement, m_progressController,
            &BatchProgressController::incrementBy);
    connect(m_run.get(), &BatchProcessRun::finished, this, &BatchProcessWindow::finishRun);
    m_run->start();
}

BatchOptions BatchProcessWindow::optionsFromPages() const {
    BatchOptions options = BatchOptions::fromSettings(m_settings);
    m_resizeController->applyTo(options);
    m_convertController->applyTo(options);
    m_outputController->applyTo(options);
    return options;
}

void BatchProcessWindow::finishRun(const BatchSummary& summary) {
    m_runEnded = true;
    cancelButton()->setEnabled(true);
    m_progressController->showSummary(summary, m_runOptions.destinationFolder);
    if (summary.failures.isEmpty()) {
        m_progressController->setIndeterminate();
        m_endingTimer.start();
    } else {
        // The failures stay on screen until the user has read them.
        m_progressController->setCanContinue(true);
    }
    fitPages();
    emit runFinished(summary);
}

void BatchProcessWindow::done() {
    completionHandler(true);
}

void BatchProcessWindow::completionHandler(bool completed) {
    if (!completed && m_processing && !m_runEnded) {
        // Stops after the picture in hand; the ending closes the window.
        m_canceled = true;
        if (m_run)
            m_run->cancel();
        cancelButton()->setEnabled(false);
        m_progressController->canceling();
        return;
    }
    m_endingTimer.stop();
    m_progressController->runStartTimer()->stop();
    m_closed = true;
    endSheet();
    hide();
}
