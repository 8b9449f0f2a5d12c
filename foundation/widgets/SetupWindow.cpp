// SPDX-License-Identifier: GPL-3.0-or-later
#include "SetupWindow.h"

#include "Localization.h"
#include "SetupPage.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

SetupPage* pageAnswers(QWidget* page) {
    return dynamic_cast<SetupPage*>(page);
}

} // namespace

QSize SetupWindow::standardContentSize() {
    return QSize(520, 360);
}

SetupWindow::SetupWindow(const QList<QWidget*>& pages, CompletionHandler completionHandler,
                         QWidget* parent)
    : QDialog(parent)
    , m_pages(pages)
    , m_completionHandler(std::move(completionHandler)) {
    m_imageView = new QLabel(this);
    m_imageView->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    m_imageView->setMinimumHeight(standardContentSize().height());
    m_imageView->hide();

    m_contentBox = new QStackedWidget(this);
    m_contentBox->setMinimumSize(standardContentSize());
    for (QWidget* page : m_pages)
        m_contentBox->addWidget(page);

    auto* body = new QHBoxLayout;
    body->addWidget(m_imageView);
    body->addWidget(m_contentBox, 1);

    auto* separator = new QFrame(this);
    separator->setFrameShape(QFrame::HLine);
    separator->setFrameShadow(QFrame::Sunken);

    m_cancelButton = new QPushButton(Localization::localizedString("Cancel"), this);
    m_backButton = new QPushButton(Localization::localizedString("Back"), this);
    m_continueButton = new QPushButton(Localization::localizedString("Continue"), this);
    m_cancelButton->setAutoDefault(false);
    m_backButton->setAutoDefault(false);
    m_continueButton->setDefault(true);
    connect(m_cancelButton, &QPushButton::clicked, this, &SetupWindow::cancelSetup);
    connect(m_backButton, &QPushButton::clicked, this, &SetupWindow::goBack);
    connect(m_continueButton, &QPushButton::clicked, this, &SetupWindow::goForward);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_cancelButton);
    buttons->addStretch(1);
    buttons->addWidget(m_backButton);
    buttons->addWidget(m_continueButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body, 1);
    layout->addWidget(separator);
    layout->addLayout(buttons);

    for (QWidget* page : m_pages)
        if (SetupPage* answers = pageAnswers(page))
            answers->setSetupWindow(this);
    if (!m_pages.isEmpty())
        m_contentBox->setCurrentIndex(0);
    updateButtons();
}

SetupWindow::~SetupWindow() = default;

QWidget* SetupWindow::currentPage() const {
    return m_pages.value(m_stage);
}

void SetupWindow::setCompletionHandler(CompletionHandler completionHandler) {
    m_completionHandler = std::move(completionHandler);
}

void SetupWindow::setBackgroundImage(const QPixmap& picture) {
    m_imageView->setPixmap(picture);
    m_imageView->setVisible(!picture.isNull());
}

void SetupWindow::beginSheet(QWidget* window) {
    if (window && parentWidget() != window)
        setParent(window, windowFlags());
    setWindowModality(window ? Qt::WindowModal : Qt::ApplicationModal);
    open();
}

void SetupWindow::endSheet() {
    if (isVisible())
        QDialog::done(result());
}

void SetupWindow::updateButtons() {
    SetupPage* answers = pageAnswers(currentPage());
    const bool last = m_stage >= m_pages.size() - 1;
    m_backButton->setEnabled(m_stage > 0 && (!answers || answers->canGoBack()));
    m_continueButton->setEnabled(!m_pages.isEmpty() && (!answers || answers->canContinue()));
    QString title = answers ? answers->continueButtonTitle() : QString();
    if (title.isEmpty())
        title = Localization::localizedString(last ? "Done" : "Continue");
    m_continueButton->setText(title);
}

void SetupWindow::goForward() {
    SetupPage* answers = pageAnswers(currentPage());
    if (m_pages.isEmpty() || (answers && !answers->canContinue()))
        return;
    if (m_stage >= m_pages.size() - 1)
        complete(true);
    else
        shift(+1);
}

void SetupWindow::goBack() {
    SetupPage* answers = pageAnswers(currentPage());
    if (m_stage <= 0 || (answers && !answers->canGoBack()))
        return;
    shift(-1);
}

void SetupWindow::cancelSetup() {
    complete(false);
}

void SetupWindow::reject() {
    // A handler that closes the window itself must not be asked again.
    if (m_completing) {
        QDialog::reject();
        return;
    }
    cancelSetup();
}

void SetupWindow::shift(int direction) {
    const int stage = qBound(0, m_stage + direction, int(m_pages.size()) - 1);
    if (stage == m_stage)
        return;
    m_stage = stage;
    m_contentBox->setCurrentIndex(stage);
    updateButtons();
    if (QWidget* page = currentPage())
        page->setFocus(Qt::TabFocusReason);
    emit stageChanged(stage);
    if (SetupPage* answers = pageAnswers(currentPage()))
        answers->didProgressToStage();
    // The page may have changed its answers on arrival.
    updateButtons();
}

void SetupWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_firstStageAnnounced)
        return;
    m_firstStageAnnounced = true;
    if (SetupPage* answers = pageAnswers(currentPage()))
        answers->didProgressToStage();
    updateButtons();
}

void SetupWindow::complete(bool completed) {
    if (m_completing)
        return;
    m_completing = true;
    if (m_completionHandler)
        m_completionHandler(completed);
    m_completing = false;
    if (m_closesOnCompletion && isVisible())
        QDialog::done(completed ? QDialog::Accepted : QDialog::Rejected);
}
