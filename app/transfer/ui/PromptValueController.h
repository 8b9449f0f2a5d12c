// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace Ui {
class PromptValue;
}

// Asks for one line of text in a sheet on a window, checks it and hands it
// to the caller. Only one value prompt is current at a time: a new one
// replaces (and closes) the previous one.
//
// Main thread only; the answer arrives later through `submit`.
class PromptValueController : public QDialog {
    Q_OBJECT

public:
    // An error message for an unacceptable value, nothing for a good one.
    using Validation = std::function<std::optional<QString>(const QString& value)>;
    using Submit = std::function<void(const QString& value)>;

    // Shows a new prompt window-modal on `window` (its parent, which owns
    // it) and returns at once; it becomes currentController().
    static PromptValueController* promptValue(const QString& message,
                                              const QString& additionalMessage, QWidget* window,
                                              const QString& defaultValue, bool emptyValueAllowed,
                                              Validation validation, Submit submit);
    static PromptValueController* currentController();

    explicit PromptValueController(QWidget* parent = nullptr);
    ~PromptValueController() override;

    QString promptMessage() const { return m_promptMessage; }
    void setPromptMessage(const QString& message);
    QString additionalMessage() const { return m_additionalMessage; }
    void setAdditionalMessage(const QString& message);
    QString defaultValue() const { return m_defaultValue; }
    void setDefaultValue(const QString& value);
    bool emptyValueAllowed() const { return m_emptyValueAllowed; }
    void setEmptyValueAllowed(bool allowed) { m_emptyValueAllowed = allowed; }
    void setValidation(Validation validation) { m_validation = std::move(validation); }
    void setSubmit(Submit submit) { m_submit = std::move(submit); }

    // The text shown as secondary text now (the additional message or the
    // last refusal).
    QString additionalText() const;
    bool isShowingError() const { return m_showingError; }

    // The OK button: checks the value; a refused one keeps the prompt open
    // with the reason in red, an accepted one closes it and is submitted
    // as typed.
    void submitPrompt();
    // The cancel button: closes without submitting.
    void dismissPrompt();
    void finish();

    // Blanks and tabs (only) trimmed from both ends.
    static QString trimBlanksAndTabs(const QString& text);

    void accept() override { submitPrompt(); }
    void reject() override { dismissPrompt(); }

private:
    void showError(const QString& message);

    static QPointer<PromptValueController>& currentSlot();

    std::unique_ptr<Ui::PromptValue> m_ui;
    QString m_promptMessage;
    QString m_additionalMessage;
    QString m_defaultValue;
    bool m_emptyValueAllowed = false;
    bool m_showingError = false;
    Validation m_validation;
    Submit m_submit;
};
