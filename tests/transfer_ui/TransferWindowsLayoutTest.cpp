// SPDX-License-Identifier: GPL-3.0-or-later
// The transfer windows at the default and at a large font: every control
// gets at least the room it asks for. Each window is also offered for
// viewing (LayoutCheck::saveForViewing).
#include "FontScaledTest.h"
#include "LayoutCheck.h"
#include "TestCamera.h"
#include "TransferUiFixture.h"

#include "UserDefaults.h"
#include "settings/SettingsKeys.h"
#include "transfer/ui/OverwritePromptController.h"
#include "transfer/ui/PromptValueController.h"
#include "transfer/ui/TransferAssistantController.h"
#include "transfer/ui/TransferSetupPage.h"
#include "widgets/AttachedWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

namespace {

void settle(QWidget* window) {
    QApplication::processEvents();
    QTest::qWait(50);
    window->adjustSize();
    QApplication::processEvents();
}

} // namespace

class TransferWindowsLayout : public FontScaledTest<TransferUiFixture> {};

TEST_P(TransferWindowsLayout, AssistantPagesLeaveNothingClipped) {
    QList<std::shared_ptr<TestCameraFile>> files;
    for (const char* name : {"IMG_0001.JPG", "IMG_0002.JPG", "MVI_0003.MOV"})
        files.append(
            std::make_shared<TestCameraFile>(name, QDateTime(QDate(2012, 9, 7), QTime(9, 0))));
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(QColor(90, 140, 200));
    files[0]->setThumbnail(picture);
    files[2]->setFails(true);
    QDir().mkpath(path("out/Holiday"));
    QFile(path("out/Holiday/IMG_0002.JPG")).open(QIODevice::WriteOnly);
    UserDefaults::standardUserDefaults().setInteger(2, SettingsKeys::transfer_overwrite_mode);
    UserDefaults::standardUserDefaults().setBool(false, SettingsKeys::transfer_browse);

    TransferAssistantController assistant(std::make_shared<TestCamera>(files));
    assistant.showWindow();
    assistant.findChild<QLineEdit*>("destination")->setText(path("out/%P"));
    settle(&assistant);
    EXPECT_EQ(LayoutCheck::clippedControls(&assistant), QStringList()) << "setup page";
    EXPECT_EQ(assistant.focusWidget(), assistant.findChild<QWidget*>("nextButton"));
    LayoutCheck::saveForViewing(&assistant, QStringLiteral("assistant-page0"));

    assistant.showMaskHelp();
    ASSERT_TRUE(assistant.setupPage()->isMaskHelpVisible());
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* help = qobject_cast<AttachedWindow*>(window)) {
            EXPECT_EQ(LayoutCheck::clippedControls(help), QStringList()) << "pattern help";
            LayoutCheck::saveForViewing(help, QStringLiteral("pattern-help"));
        }
    }
    assistant.showMaskHelp();
    EXPECT_FALSE(assistant.setupPage()->isMaskHelpVisible());

    assistant.next();
    ASSERT_TRUE(waitFor(
        [&] { return assistant.state() == TransferAssistantController::State::prompting; }));
    assistant.findChild<QComboBox*>("description")->setEditText("Holiday");
    settle(&assistant);
    EXPECT_EQ(LayoutCheck::clippedControls(&assistant), QStringList()) << "prompt page";
    auto* description = assistant.findChild<QComboBox*>("description");
    EXPECT_TRUE(assistant.focusWidget() == description ||
                assistant.focusWidget() == description->lineEdit());
    LayoutCheck::saveForViewing(&assistant, QStringLiteral("assistant-page1"));

    assistant.next();
    auto* next = assistant.findChild<QPushButton*>("nextButton");
    ASSERT_TRUE(waitFor([&] {
        return assistant.state() == TransferAssistantController::State::confirming &&
               next->isEnabled();
    }));
    settle(&assistant);
    EXPECT_EQ(LayoutCheck::clippedControls(&assistant), QStringList()) << "destinations page";
    EXPECT_EQ(assistant.focusWidget(), next);
    LayoutCheck::saveForViewing(&assistant, QStringLiteral("assistant-destinations"));

    assistant.next();
    ASSERT_TRUE(
        waitFor([&] { return assistant.state() == TransferAssistantController::State::finished; }));
    settle(&assistant);
    EXPECT_EQ(LayoutCheck::clippedControls(&assistant), QStringList()) << "transfer page";
    EXPECT_TRUE(assistant.findChild<QLabel*>("message")->isVisible());
    EXPECT_TRUE(assistant.findChild<QLabel*>("failureMessage")->isVisible());
    EXPECT_EQ(assistant.focusWidget(), assistant.findChild<QWidget*>("cancelButton"));
    LayoutCheck::saveForViewing(&assistant, QStringLiteral("assistant-page2"));
    assistant.cancel();
    assistant.cancel();
}

TEST_P(TransferWindowsLayout, PromptsLeaveNothingClipped) {
    QWidget window;
    window.resize(700, 500);
    window.show();
    OverwritePromptController overwrite(
        QStringLiteral("A rather long file name from the camera card 0001.JPG"), QImage(), &window);
    overwrite.open();
    settle(&overwrite);
    EXPECT_EQ(LayoutCheck::clippedControls(&overwrite), QStringList());
    EXPECT_EQ(overwrite.focusWidget(), overwrite.findChild<QWidget*>("skipButton"));
    LayoutCheck::saveForViewing(&overwrite, QStringLiteral("overwrite-prompt"));
    overwrite.cancelTransfer();

    PromptValueController* prompt = PromptValueController::promptValue(
        "Name of the new folder:", "The folder is created inside the folder shown.", &window,
        "untitled folder", false, {}, {});
    prompt->findChild<QLineEdit*>("value")->setText(" ");
    prompt->submitPrompt();
    settle(prompt);
    EXPECT_EQ(LayoutCheck::clippedControls(prompt), QStringList());
    EXPECT_EQ(prompt->focusWidget(), prompt->findChild<QWidget*>("value"));
    LayoutCheck::saveForViewing(prompt, QStringLiteral("prompt-value"));
    prompt->dismissPrompt();
}

INSTANTIATE_TEST_SUITE_P(Fonts, TransferWindowsLayout, ::testing::Values(1.0, 1.8));
