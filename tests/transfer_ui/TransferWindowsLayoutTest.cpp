// SPDX-License-Identifier: GPL-3.0-or-later
// The transfer windows at the default and at a large font: every control
// gets at least the room it asks for. With PIXHAUL_SCREENSHOT_DIR set, each
// window is also saved there as a picture for a person to look at.
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
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

namespace {

// Names of visible controls narrower or lower than they need to be.
QStringList clippedControls(const QWidget* window) {
    QStringList clipped;
    const QList<QWidget*> controls = window->findChildren<QWidget*>();
    for (const QWidget* control : controls) {
        // Qt's own parts of a control ("qt_spinbox_lineedit") are its business.
        if (!control->isVisible() || control->objectName().isEmpty() ||
            control->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (!qobject_cast<const QLabel*>(control) &&
            !qobject_cast<const QAbstractButton*>(control) &&
            !qobject_cast<const QComboBox*>(control) && !qobject_cast<const QLineEdit*>(control) &&
            !qobject_cast<const QDateEdit*>(control))
            continue;
        // A combo box shows its longest item only at its size hint.
        const QSize needed = qobject_cast<const QComboBox*>(control) ? control->sizeHint()
                                                                     : control->minimumSizeHint();
        if (control->width() < needed.width() || control->height() < needed.height())
            clipped.append(control->objectName());
    }
    return clipped;
}

void saveForViewing(QWidget* window, const QString& name) {
    const QString folder = qEnvironmentVariable("PIXHAUL_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    QDir().mkpath(folder);
    window->grab().save(
        QStringLiteral("%1/%2-%3pt.png").arg(folder, name).arg(QApplication::font().pointSizeF()));
}

void settle(QWidget* window) {
    QApplication::processEvents();
    QTest::qWait(50);
    window->adjustSize();
    QApplication::processEvents();
}

} // namespace

class TransferWindowsLayout : public TransferUiFixture,
                              public ::testing::WithParamInterface<double> {
protected:
    void SetUp() override {
        TransferUiFixture::SetUp();
        m_original = QApplication::font();
        QFont font = m_original;
        font.setPointSizeF(m_original.pointSizeF() * GetParam());
        QApplication::setFont(font);
    }
    void TearDown() override {
        QApplication::setFont(m_original);
        TransferUiFixture::TearDown();
    }
    QFont m_original;
};

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
    EXPECT_EQ(clippedControls(&assistant), QStringList()) << "setup page";
    EXPECT_EQ(assistant.focusWidget(), assistant.findChild<QWidget*>("nextButton"));
    saveForViewing(&assistant, QStringLiteral("assistant-page0"));

    assistant.showMaskHelp();
    ASSERT_TRUE(assistant.setupPage()->isMaskHelpVisible());
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (auto* help = qobject_cast<AttachedWindow*>(window)) {
            EXPECT_EQ(clippedControls(help), QStringList()) << "pattern help";
            saveForViewing(help, QStringLiteral("pattern-help"));
        }
    }
    assistant.showMaskHelp();
    EXPECT_FALSE(assistant.setupPage()->isMaskHelpVisible());

    assistant.next();
    ASSERT_TRUE(waitFor(
        [&] { return assistant.state() == TransferAssistantController::State::prompting; }));
    assistant.findChild<QComboBox*>("description")->setEditText("Holiday");
    settle(&assistant);
    EXPECT_EQ(clippedControls(&assistant), QStringList()) << "prompt page";
    auto* description = assistant.findChild<QComboBox*>("description");
    EXPECT_TRUE(assistant.focusWidget() == description ||
                assistant.focusWidget() == description->lineEdit());
    saveForViewing(&assistant, QStringLiteral("assistant-page1"));

    assistant.next();
    auto* next = assistant.findChild<QPushButton*>("nextButton");
    ASSERT_TRUE(waitFor([&] {
        return assistant.state() == TransferAssistantController::State::confirming &&
               next->isEnabled();
    }));
    settle(&assistant);
    EXPECT_EQ(clippedControls(&assistant), QStringList()) << "destinations page";
    EXPECT_EQ(assistant.focusWidget(), next);
    saveForViewing(&assistant, QStringLiteral("assistant-destinations"));

    assistant.next();
    ASSERT_TRUE(
        waitFor([&] { return assistant.state() == TransferAssistantController::State::finished; }));
    settle(&assistant);
    EXPECT_EQ(clippedControls(&assistant), QStringList()) << "transfer page";
    EXPECT_TRUE(assistant.findChild<QLabel*>("message")->isVisible());
    EXPECT_TRUE(assistant.findChild<QLabel*>("failureMessage")->isVisible());
    EXPECT_EQ(assistant.focusWidget(), assistant.findChild<QWidget*>("cancelButton"));
    saveForViewing(&assistant, QStringLiteral("assistant-page2"));
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
    EXPECT_EQ(clippedControls(&overwrite), QStringList());
    EXPECT_EQ(overwrite.focusWidget(), overwrite.findChild<QWidget*>("skipButton"));
    saveForViewing(&overwrite, QStringLiteral("overwrite-prompt"));
    overwrite.cancelTransfer();

    PromptValueController* prompt = PromptValueController::promptValue(
        "Name of the new folder:", "The folder is created inside the folder shown.", &window,
        "untitled folder", false, {}, {});
    prompt->findChild<QLineEdit*>("value")->setText(" ");
    prompt->submitPrompt();
    settle(prompt);
    EXPECT_EQ(clippedControls(prompt), QStringList());
    EXPECT_EQ(prompt->focusWidget(), prompt->findChild<QWidget*>("value"));
    saveForViewing(prompt, QStringLiteral("prompt-value"));
    prompt->dismissPrompt();
}

INSTANTIATE_TEST_SUITE_P(Fonts, TransferWindowsLayout, ::testing::Values(1.0, 1.8));
