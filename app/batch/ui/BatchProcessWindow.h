// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "batch/BatchOptions.h"
#include "widgets/WizardWindow.h"

#include <QStringList>
#include <QTimer>

#include <memory>

class BatchConvertController;
class BatchOutputController;
class BatchProcessRun;
class BatchProgressController;
class BatchResizeController;
class UserDefaults;
struct BatchSummary;

// The batch processor's wizard: resize, convert, output and progress
// pages over the given pictures. Reaching the progress page starts the
// run (process()): the pages' choices are saved to the settings store and
// taken as a BatchOptions value, and a BatchProcessRun works on its own
// thread while its reports come back queued to this window.
//
// Cancel before the run closes the window at once; during the run it
// only asks the run to stop after the picture in hand. When the run ends
// the bar turns indeterminate and the window closes 3 seconds later,
// unless pictures failed: then it stays, naming them, until the user
// closes it. A window-modal sheet over the browser, or a window of its
// own. Main thread.
class BatchProcessWindow : public WizardWindow {
    Q_OBJECT

public:
    static constexpr int heightAdjustmentValue = 100;
    static constexpr int endingDelayMs = 3000;

    // The pictures `images` (in the browser's order) from the folder
    // `initialPath`, the default destination. The pages read and write
    // `settings`, which must outlive the window.
    BatchProcessWindow(const QString& initialPath, const QStringList& images,
                       UserDefaults& settings, QWidget* parent = nullptr);
    ~BatchProcessWindow() override;

    QString initialPath() const { return m_initialPath; }
    const QStringList& images() const { return m_images; }
    BatchResizeController* resizeController() const { return m_resizeController; }
    BatchConvertController* convertController() const { return m_convertController; }
    BatchOutputController* outputController() const { return m_outputController; }
    BatchProgressController* progressController() const { return m_progressController; }
    bool processing() const { return m_processing; }
    bool canceled() const { return m_canceled; }
    // The run has ended (finished or stopped).
    bool runEnded() const { return m_runEnded; }
    // The choices the run was started with.
    const BatchOptions& runOptions() const { return m_runOptions; }
    // The one-shot timer that closes the window after the run.
    QTimer* endingTimer() { return &m_endingTimer; }

    using QDialog::done;
    using QDialog::show;
    // A sheet modal for `window` only; without one, a window of its own.
    void show(QWidget* window);
    // Saves the pages and starts the run; once only.
    void process();
    // Completes the wizard (the completion handler with true).
    void done();

signals:
    // The run has ended and reported.
    void runFinished(const BatchSummary& summary);

protected:
    void changeEvent(QEvent* event) override;

private:
    void completionHandler(bool completed);
    void finishRun(const BatchSummary& summary);
    BatchOptions optionsFromPages() const;
    // Grows the content box to the room the pages need (large fonts,
    // wrapped texts, the summary); the wizard's own minimum is a floor.
    void fitPages();

    QString m_initialPath;
    QStringList m_images;
    UserDefaults& m_settings;
    BatchResizeController* m_resizeController;
    BatchConvertController* m_convertController;
    BatchOutputController* m_outputController;
    BatchProgressController* m_progressController;
    std::unique_ptr<BatchProcessRun> m_run;
    BatchOptions m_runOptions;
    QTimer m_endingTimer;
    bool m_processing = false;
    bool m_canceled = false;
    bool m_runEnded = false;
    bool m_closed = false;
};
