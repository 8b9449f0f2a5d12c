// SPDX-License-Identifier: GPL-3.0-or-later
#include "OverwritePromptController.h"

#include "ui_OverwritePrompt.h"

#include "ThumbnailLabel.h"

#include "UserDefaults.h"
#include "settings/SettingsKeys.h"
#include "transfer/OverwriteAnswer.h"
#include "transfer/OverwriteMode.h"

#include <QStyle>

OverwritePromptController::OverwritePromptController(const QString& filename,
                                                     const QImage& thumbnail, QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::OverwritePrompt>())
    , m_filename(filename)
    , m_thumbnail(thumbnail) {
    m_ui->setupUi(this);
    setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    connect(m_ui->replaceButton, &QPushButton::clicked, this, &OverwritePromptController::replace);
    connect(m_ui->skipButton, &QPushButton::clicked, this, &OverwritePromptController::skip);
    connect(m_ui->cancelButton, &QPushButton::clicked, this,
            &OverwritePromptController::cancelTransfer);
    awakeFromNib();
}

OverwritePromptController::~OverwritePromptController() = default;

void OverwritePromptController::awakeFromNib() {
    const qint64 scope = UserDefaults::standardUserDefaults().integerForKey(
        QLatin1String(SettingsKeys::transfer_overwrite_default));
    // A stored value outside the list would leave no scope chosen; the
    // registered default then stands in.
    setApplyChoice(scope >= 0 && scope < m_ui->applyChoiceTo->count() ? int(scope)
                                                                      : OverwriteScopeThisTransfer);

    if (!m_thumbnail.isNull())
        ThumbnailLabel::setImage(m_ui->thumbnailView, m_thumbnail);
    else
        m_ui->thumbnailView->setPixmap(
            style()->standardIcon(QStyle::SP_MessageBoxQuestion).pixmap(64));
    // The loaded text is a format with one "%@" for the name; replace()
    // keeps any "%" in the name literal.
    QString text = m_ui->message->text();
    m_ui->message->setText(text.replace(QLatin1String("%@"), m_filename));
    m_ui->skipButton->setFocus();
}

int OverwritePromptController::applyChoice() const {
    return m_ui->applyChoiceTo->currentIndex();
}

void OverwritePromptController::setApplyChoice(int scope) {
    m_ui->applyChoiceTo->setCurrentIndex(scope);
}

void OverwritePromptController::replace() {
    m_doOverwrite = true;
    processApplyChoiceWithAction(OverwriteModeReplace);
    accept();
}

void OverwritePromptController::skip() {
    m_doOverwrite = false;
    processApplyChoiceWithAction(OverwriteModeSkip);
    accept();
}

void OverwritePromptController::cancelTransfer() {
    m_cancel = true;
    QDialog::reject();
}

void OverwritePromptController::reject() {
    cancelTransfer();
}

void OverwritePromptController::processApplyChoiceWithAction(OverwriteMode mode) {
    const int scope = applyChoice();
    if (scope < 0)
        return;
    m_forAll = OverwriteAnswer::fromChoice(mode == OverwriteModeReplace,
                                           static_cast<OverwriteScope>(scope),
                                           UserDefaults::standardUserDefaults())
                   .forAll;
}
