// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferUiFixture.h"

#include "UserDefaults.h"
#include "settings/SettingsKeys.h"
#include "transfer/ui/OverwritePromptController.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

using namespace SettingsKeys;

class OverwritePrompt : public TransferUiFixture {
protected:
    UserDefaults& settings() { return UserDefaults::standardUserDefaults(); }
};

TEST_F(OverwritePrompt, ShowsTheNameInTheQuestionAndPresetsTheLastScope) {
    OverwritePromptController first(QStringLiteral("100%@ 50%1.JPG"), QImage());
    EXPECT_TRUE(first.findChild<QLabel*>("message")->text().contains("“100%@ 50%1.JPG”"));
    EXPECT_EQ(first.applyChoice(), 1) << "the registered default";
    EXPECT_FALSE(first.cancel());
    EXPECT_FALSE(first.doOverwrite());
    EXPECT_FALSE(first.forAll());
    EXPECT_TRUE(first.findChild<QPushButton*>("skipButton")->isDefault());

    first.setApplyChoice(0);
    first.skip();
    EXPECT_FALSE(first.forAll());
    EXPECT_EQ(settings().integerForKey(transfer_overwrite_default), 0);
    OverwritePromptController next(QStringLiteral("B.JPG"), QImage());
    EXPECT_EQ(next.applyChoice(), 0);

    // A stored scope outside the list falls back to this transfer.
    settings().setInteger(7, transfer_overwrite_default);
    OverwritePromptController odd(QStringLiteral("C.JPG"), QImage());
    EXPECT_EQ(odd.applyChoice(), 1);
}

TEST_F(OverwritePrompt, ScopesDecideHowLongTheAnswerHolds) {
    settings().setInteger(0, transfer_overwrite_mode);
    {
        OverwritePromptController prompt(QStringLiteral("A.JPG"), QImage());
        prompt.setApplyChoice(1);
        prompt.replace();
        EXPECT_TRUE(prompt.doOverwrite());
        EXPECT_TRUE(prompt.forAll());
        EXPECT_EQ(settings().integerForKey(transfer_overwrite_mode), 0);
    }
    {
        OverwritePromptController prompt(QStringLiteral("A.JPG"), QImage());
        prompt.setApplyChoice(2);
        prompt.skip();
        EXPECT_FALSE(prompt.doOverwrite());
        EXPECT_TRUE(prompt.forAll());
        EXPECT_EQ(settings().integerForKey(transfer_overwrite_mode), 2);
        EXPECT_EQ(settings().integerForKey(transfer_overwrite_default), 2);
    }
    {
        OverwritePromptController prompt(QStringLiteral("A.JPG"), QImage());
        prompt.setApplyChoice(2);
        prompt.replace();
        EXPECT_EQ(settings().integerForKey(transfer_overwrite_mode), 1);
    }
}

TEST_F(OverwritePrompt, StoppingChangesNoSetting) {
    settings().setInteger(0, transfer_overwrite_mode);
    OverwritePromptController prompt(QStringLiteral("A.JPG"), QImage());
    prompt.setApplyChoice(2);
    prompt.open();
    prompt.reject(); // Escape acts as the stop button
    EXPECT_TRUE(prompt.cancel());
    EXPECT_FALSE(prompt.isVisible());
    EXPECT_EQ(settings().integerForKey(transfer_overwrite_mode), 0);
    EXPECT_EQ(settings().integerForKey(transfer_overwrite_default), 1);
}
