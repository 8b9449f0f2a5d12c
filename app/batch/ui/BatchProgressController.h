// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "widgets/SetupPage.h"

#include <QTimer>
#include <QWidget>

#include <memory>

class QProgressBar;
struct BatchSummary;

namespace Ui {
class BatchProgress;
}

// The batch wizard's last page: reaching it starts the run half a second
// later (process() of its BatchProcessWindow); from then on the user can
// neither go back nor continue. The bar runs from 0 to 100 and is moved by
// the run's steps; at the end it shows what was written and names every
// picture that failed, with the reason. Main thread.
class BatchProgressController : public QWidget, public SetupPage {
    Q_OBJECT

public:
    static constexpr int startDelayMs = 500;

    explicit BatchProgressController(QWidget* parent = nullptr);
    ~BatchProgressController() override;

    QProgressBar* progress() const;
    // The bar's position, 0 to 100.
    double progressValue() const { return m_value; }
    QString statusText() const;
    QString summaryText() const;
    // One line per failed picture ("name: reason"); empty when none.
    QString failuresText() const;

    bool canGoBack() const override { return m_canGoBack; }
    bool canContinue() const override { return m_canContinue; }
    void setCanContinue(bool canContinue);
    void didProgressToStage() override;
    void setSetupWindow(SetupWindow* window) override { m_window = window; }
    SetupWindow* setupWindow() const { return m_window; }
    // The one-shot timer that starts the run.
    QTimer* runStartTimer() { return &m_startTimer; }

    // The run's reports.
    void imageStarted(int index, int count, const QString& source);
    void incrementBy(double step);
    void canceling();
    // The bar turns indeterminate (busy) while the window is about to go.
    void setIndeterminate();
    void showSummary(const BatchSummary& summary, const QString& destination);

private:
    void loadView();
    void showValue();

    std::unique_ptr<Ui::BatchProgress> m_ui;
    SetupWindow* m_window = nullptr;
    QTimer m_startTimer;
    double m_value = 0.0;
    bool m_canGoBack = true;
    bool m_canContinue = true;
};
