// SPDX-License-Identifier: GPL-3.0-or-later
#include "PromptValueController.h"

#include "ui_PromptValue.h"

#include <QApplication>
#include <QPushButton>

PromptValueController::PromptValueController(QWidget* parent)
    : QDialog(parent)
    , m_ui(std::make_unique<Ui::PromptValue>()) {
    m_ui->setupUi(this);
    setWindowModality(parent ? Qt::WindowModal : Qt::ApplicationModal);
    connect(m_ui->buttons, &QDialogButtonBox::accepted, this, &PromptValueController::submitPrompt);
    connect(m_ui->buttons, &QDialogButtonBox::rejected, this,
            &PromptValueController::dismissPrompt);
    m_ui->buttons->button(QDialogButtonBox::Ok)->setDefault(true);
}

PromptValueController::~PromptValueController() = default;

QPointer<PromptValueController>& PromptValueController::currentSlot() {
    static QPointer<PromptValueController> current;
    return current;
}

PromptValueController* PromptValueController::currentController() {
    return currentSlot().data();
}

PromptValueController*
PromptValueController::promptValue(const QString& message, const QString& additionalMessage,
                                   QWidget* window, const QString& defaultValue,
                                   bool emptyValueAllowed, Validation validation, Submit submit) {
    QPointer<PromptValueController>& current = currentSlot();
    if (current) {
        // The previous prompt goes without an answer, like a dismissal.
        current->hide();
        current->deleteLater();
    }
    auto* prompt = new PromptValueController(window);
    current = prompt;
    prompt->setPromptMessage(message);
    prompt->setAdditionalMessage(additionalMessage);
    prompt->setDefaultValue(defaultValue);
    prompt->setEmptyValueAllowed(emptyValueAllowed);
    prompt->setValidation(std::move(validation));
    prompt->setSubmit(std::move(submit));
    prompt->open();
    prompt->m_ui->value->selectAll();
    prompt->m_ui->value->setFocus();
    return prompt;
}

void PromptValueController::setPromptMessage(const QString& message) {
    m_promptMessage = message;
    m_ui->message->setText(message);
}

void PromptValueController::setAdditionalMessage(const QString& message) {
    m_additionalMessage = message;
    m_ui->additionalText->setText(message);
    m_ui->additionalText->setVisible(!message.isEmpty());
}

void PromptValueController::setDefaultValue(const QString& value) {
    m_defaultValue = value;
    m_ui->value->setText(value);
}

QString PromptValueController::additionalText() const {
    return m_ui->additionalText->text();
}

QString PromptValueController::trimBlanksAndTabs(const QString& text) {
    const auto isBlank = [](QChar c) { return c == u' ' || c == u'\t'; };
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text.at(begin)))
        ++begin;
    while (end > begin && isBlank(text.at(end - 1)))
        --end;
    return text.mid(begin, end - begin);
}

void PromptValueController::submitPrompt() {
    const QString typed = m_ui->value->text();
    const QString trimmed = trimBlanksAndTabs(typed);
    std::optional<QString> error;
    if (!m_emptyValueAllowed && trimmed.isEmpty())
        error = QStringLiteral("Please enter a value.");
    else if (m_validation)
        error = m_validation(trimmed);
    if (error) {
        showError(*error);
        return;
    }
    finish();
    // Called last: the callback may start another prompt, which replaces
    // this one.
    if (Submit submit = m_submit)
        submit(typed);
}

void PromptValueController::dismissPrompt() {
    finish();
}

void PromptValueController::finish() {
    QDialog::done(QDialog::Accepted);
}

void PromptValueController::showError(const QString& message) {
    QApplication::alert(window());
    QPalette red = m_ui->additionalText->palette();
    red.setColor(QPalette::WindowText, QColor(0xd0, 0x10, 0x10));
    m_ui->additionalText->setPalette(red);
    m_ui->additionalText->setText(message);
    m_ui->additionalText->setVisible(true);
    m_showingError = true;
    m_ui->value->setFocus();
}
