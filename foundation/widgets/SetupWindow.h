// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QList>
#include <QPixmap>

#include <functional>

class QLabel;
class QPushButton;
class QStackedWidget;

// The wizard base: shows its pages one at a time, in the order given, with
// Cancel, Back and Continue buttons and an optional side picture. Pages may
// answer the SetupPage questions. Continue on the last page completes the
// wizard: the completion handler runs with true; Cancel, Escape or closing
// the window run it with false. By default the window then closes; with
// setClosesOnCompletion(false) it stays until its owner calls endSheet()
// (a run that must finish before the window goes, for example).
// Main thread.
class SetupWindow : public QDialog {
    Q_OBJECT

public:
    using CompletionHandler = std::function<void(bool completed)>;

    // Takes the pages as children. Each SetupPage gets setSetupWindow().
    SetupWindow(const QList<QWidget*>& pages, CompletionHandler completionHandler,
                QWidget* parent = nullptr);
    ~SetupWindow() override;

    const QList<QWidget*>& pages() const { return m_pages; }
    int currentStage() const { return m_stage; }
    QWidget* currentPage() const;

    void setCompletionHandler(CompletionHandler completionHandler);
    void setClosesOnCompletion(bool closes) { m_closesOnCompletion = closes; }
    bool closesOnCompletion() const { return m_closesOnCompletion; }

    // The picture beside the pages; a null pixmap hides it.
    void setBackgroundImage(const QPixmap& picture);

    QPushButton* backButton() const { return m_backButton; }
    QPushButton* continueButton() const { return m_continueButton; }
    QPushButton* cancelButton() const { return m_cancelButton; }
    // The box the pages are shown in, and the side picture.
    QStackedWidget* contentBox() const { return m_contentBox; }
    QLabel* imageView() const { return m_imageView; }

    // The size the content box asks for before any adjustment.
    static QSize standardContentSize();

    // Shows the wizard as a sheet, modal for `window` only.
    void beginSheet(QWidget* window);
    // Hides the window without calling the completion handler.
    void endSheet();

public slots:
    // Continue: next page, or completion with true on the last page.
    void goForward();
    void goBack();
    // Runs the completion handler with false.
    void cancelSetup();
    // Enables the buttons and titles the continue button for the current
    // page's answers.
    void updateButtons();
    void reject() override;

signals:
    void stageChanged(int stage);

protected:
    // Moves one page forwards (+1) or backwards (-1) and tells the new page.
    virtual void shift(int direction);
    void showEvent(QShowEvent* event) override;

private:
    void complete(bool completed);

    QList<QWidget*> m_pages;
    CompletionHandler m_completionHandler;
    QStackedWidget* m_contentBox = nullptr;
    QLabel* m_imageView = nullptr;
    QPushButton* m_backButton = nullptr;
    QPushButton* m_continueButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    int m_stage = 0;
    bool m_closesOnCompletion = true;
    bool m_completing = false;
    bool m_firstStageAnnounced = false;
};
