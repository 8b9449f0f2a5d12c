// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferUiFixture.h"

#include "transfer/ui/PromptValueController.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

class PromptValue : public TransferUiFixture {
protected:
    void SetUp() override {
        TransferUiFixture::SetUp();
        m_window.show();
    }

    PromptValueController* ask(bool emptyAllowed,
                               PromptValueController::Validation validation = {}) {
        return PromptValueController::promptValue(
            "Name of the new folder:", "More text", &m_window, "untitled folder", emptyAllowed,
            std::move(validation), [this](const QString& value) { m_submitted.append(value); });
    }
    static void type(PromptValueController* prompt, const QString& text) {
        prompt->findChild<QLineEdit*>("value")->setText(text);
    }

    QWidget m_window;
    QStringList m_submitted;
};

TEST_F(PromptValue, ShowsItsTextsAsASheetAndBecomesCurrent) {
    PromptValueController* prompt = ask(false);
    EXPECT_EQ(PromptValueController::currentController(), prompt);
    EXPECT_EQ(prompt->parentWidget(), &m_window);
    EXPECT_EQ(prompt->windowModality(), Qt::WindowModal);
    EXPECT_TRUE(prompt->isVisible());
    EXPECT_EQ(prompt->findChild<QLabel*>("message")->text(), "Name of the new folder:");
    EXPECT_EQ(prompt->additionalText(), "More text");
    EXPECT_EQ(prompt->findChild<QLineEdit*>("value")->text(), "untitled folder");

    PromptValueController* second = ask(false);
    EXPECT_EQ(PromptValueController::currentController(), second);
    second->dismissPrompt();
    EXPECT_FALSE(second->isVisible());
    EXPECT_TRUE(m_submitted.isEmpty());
}

TEST_F(PromptValue, BlanksAreRefusedUnlessEmptyValuesAreAllowed) {
    PromptValueController* prompt = ask(false);
    type(prompt, "   ");
    prompt->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_TRUE(prompt->isVisible());
    EXPECT_TRUE(prompt->isShowingError());
    EXPECT_EQ(prompt->additionalText(), "Please enter a value.");
    const QColor shown =
        prompt->findChild<QLabel*>("additionalText")->palette().color(QPalette::WindowText);
    EXPECT_GT(shown.red(), 150);
    EXPECT_LT(shown.green(), 80);
    EXPECT_TRUE(m_submitted.isEmpty());

    prompt = ask(true);
    type(prompt, "   ");
    prompt->submitPrompt();
    EXPECT_FALSE(prompt->isVisible());
    EXPECT_EQ(m_submitted, QStringList{"   "});
}

TEST_F(PromptValue, ValidatesTheTrimmedValueAndSubmitsItAsTyped) {
    QStringList validated;
    PromptValueController* prompt =
        ask(false, [&validated](const QString& value) -> std::optional<QString> {
            validated.append(value);
            if (value.contains(QLatin1Char('/')))
                return QStringLiteral("No slashes, please.");
            return std::nullopt;
        });
    type(prompt, "\ta/b ");
    prompt->submitPrompt();
    EXPECT_EQ(prompt->additionalText(), "No slashes, please.");
    EXPECT_TRUE(prompt->isVisible());

    type(prompt, " name ");
    prompt->submitPrompt();
    EXPECT_EQ(validated, (QStringList{"a/b", "name"}));
    EXPECT_EQ(m_submitted, QStringList{" name "});
    EXPECT_FALSE(prompt->isVisible());
}

TEST_F(PromptValue, TrimsBlanksAndTabsButNotLineEnds) {
    EXPECT_EQ(PromptValueController::trimBlanksAndTabs(" \t a b \t "), "a b");
    EXPECT_EQ(PromptValueController::trimBlanksAndTabs("\na\n "), "\na\n");
    EXPECT_EQ(PromptValueController::trimBlanksAndTabs(" \t "), "");
}
