// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>

#include <atomic>
#include <memory>

class QDialog;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace Ui {
class ProgressBar;
}

// A progress sheet: a window-modal dialog (interface "ProgressBar") on a
// window, with a bar, a status line and a cancel button. Work runs
// elsewhere; its owner updates the bar and the status and polls canceled().
// The sheet has no timer or thread of its own.
//
// Threads: everything on the main thread, except canceled(), which a worker
// may poll directly.
//
// The bar keeps a fractional value between minimum and maximum
// (setDoubleValue, incrementBy) and shows it on the QProgressBar, whose own
// integer range is an internal scale: use the controller's calls, not the
// bar's setValue.
class ProgressBarController : public QObject {
    Q_OBJECT

public:
    // A sheet on `window` with an indeterminate, animating bar and an empty
    // status; the cancel button is enabled only when `cancelable`.
    static std::unique_ptr<ProgressBarController> progressBarIndeterinateForWindow(QWidget* window,
                                                                                   bool cancelable);
    // The same with a determinate bar from `minimum` to `maximum`, at the
    // minimum.
    static std::unique_ptr<ProgressBarController>
    progressBarForWindow(QWidget* window, bool cancelable, double minimum, double maximum);

    // A controller whose dialog is loaded but not shown (canceled false,
    // status ""); the factories above show it as a sheet.
    explicit ProgressBarController(QWidget* window);
    ~ProgressBarController() override;

    bool canceled() const { return m_canceled.load(); }

    QDialog* window() const;
    QLabel* statusText() const;
    QPushButton* cancelButton() const;
    QProgressBar* progressIndicator() const;

    void setStatusText(const QString& text);
    void setIndeterminate(bool indeterminate);
    bool isIndeterminate() const { return m_indeterminate; }
    void setRange(double minimum, double maximum);
    void setDoubleValue(double value);
    void incrementBy(double delta);
    double doubleValue() const { return m_value; }
    double minimum() const { return m_minimum; }
    double maximum() const { return m_maximum; }

    // Shows the dialog as a sheet on its window, without blocking.
    void beginSheet();

public slots:
    // The cancel button's action: sets canceled, shows "Canceling...",
    // turns the bar indeterminate and disables the button for good. The
    // work is not stopped here; its owner polls canceled() or listens to
    // cancelRequested(). Does nothing while the button is disabled (a sheet
    // that is not cancelable, or one already canceled). Escape and the
    // window's close button act as this button.
    void cancel();
    // Hides the sheet and ends it (an exec() on the dialog returns).
    void finish();

signals:
    void cancelRequested();
    void finished();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showValue();

    std::unique_ptr<Ui::ProgressBar> m_ui;
    QPointer<QDialog> m_dialog;
    // Compared, never dereferenced: events still arrive while the dialog is
    // being destroyed, when it is no longer a QDialog.
    const QObject* m_filteredDialog = nullptr;
    std::atomic<bool> m_canceled{false};
    bool m_indeterminate = true;
    bool m_finishing = false;
    double m_minimum = 0.0;
    double m_maximum = 100.0;
    double m_value = 0.0;
};
