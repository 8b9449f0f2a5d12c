// SPDX-License-Identifier: GPL-3.0-or-later
// The transfer windows at the default and at a large font: every control
// gets at least the room it asks for. With PIXHAUL_SCREENSHOT_DIR set, each
// window is also saved there as a picture for a person to look at.
#include "TestCamera.h"
#include "TransferUiFixture.h"

#include "transfer/ui/OverwritePromptController.h"
#include "transfer/ui/PromptValueController.h"
#include "transfer/ui/TransferAssistantController.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
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
        const QSize needed = control->minimumSizeHint();
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
        original = QApplication::font();
        QFont font = original;
        font.setPointSizeF(original.pointSizeF() * GetParam());
        QApplication::setFont(font);
    }
    void TearDown() override {
        QApplication::setFont(original);
        TransferUiFixture::TearDown();
    }
    QFont original;
};

TEST_P(TransferWindowsLayout, AssistantPagesLeaveNothingClipped) {
    auto file = std::make_shared<TestCameraFile>("IMG_0001.JPG", QDateTime::currentDateTime());
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(QColor(90, 140, 200));
    file->setThumbnail(picture);
    TransferAssistantController assistant(std::make_shared<TestCamera>(QList{file}));
    assistant.showWindow();
    auto* pages = assistant.findChild<QStackedWidget*>("tabView");
    for (int index = 0; index < pages->count(); ++index) {
        pages->setCurrentIndex(index);
        if (index == 2) {
            assistant.findChild<QLabel*>("status")->setText("IMG_0001.JPG");
            assistant.findChild<QLabel*>("failureMessage")
                ->setText("2 files could not be transferred: IMG_0007.JPG, MVI_0008.MOV");
            assistant.findChild<QLabel*>("failureMessage")->show();
        }
        settle(&assistant);
        EXPECT_EQ(clippedControls(&assistant), QStringList()) << "page " << index;
        saveForViewing(&assistant, QStringLiteral("assistant-page%1").arg(index));
    }
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
