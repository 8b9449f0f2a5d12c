// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/SetupWindow.h"
#include "Localization.h"
#include "widgets/SetupPage.h"
#include "widgets/WizardWindow.h"

#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// A page that answers every question and records what it is told.
class AnsweringPage : public QWidget, public SetupPage {
public:
    bool allowContinue = true;
    bool allowBack = true;
    QString title;
    int arrivals = 0;
    SetupWindow* window = nullptr;

    bool canContinue() const override { return allowContinue; }
    bool canGoBack() const override { return allowBack; }
    QString continueButtonTitle() const override { return title; }
    void didProgressToStage() override { ++arrivals; }
    void setSetupWindow(SetupWindow* setupWindow) override { window = setupWindow; }
};

struct Wizard {
    QWidget* plain = new QWidget;
    AnsweringPage* middle = new AnsweringPage;
    AnsweringPage* last = new AnsweringPage;
    QList<bool> completions;
    SetupWindow window{{plain, middle, last}, [this](bool done) { completions << done; }};
};

} // namespace

TEST(SetupWindow, WalksThePagesInOrderWithBackAndContinue) {
    Wizard wizard;
    SetupWindow& window = wizard.window;
    window.show();
    EXPECT_EQ(wizard.middle->window, &window);
    EXPECT_EQ(window.contentBox()->currentWidget(), wizard.plain);
    EXPECT_FALSE(window.backButton()->isEnabled()); // first page
    EXPECT_EQ(window.continueButton()->text(), Localization::localizedString("Continue"));

    QTest::mouseClick(window.continueButton(), Qt::LeftButton);
    EXPECT_EQ(window.currentStage(), 1);
    EXPECT_EQ(wizard.middle->arrivals, 1);
    EXPECT_TRUE(window.backButton()->isEnabled());

    QTest::mouseClick(window.backButton(), Qt::LeftButton);
    EXPECT_EQ(window.currentPage(), wizard.plain);
    QTest::mouseClick(window.continueButton(), Qt::LeftButton);
    QTest::mouseClick(window.continueButton(), Qt::LeftButton);
    EXPECT_EQ(window.currentPage(), wizard.last);
    EXPECT_EQ(wizard.middle->arrivals, 2);
    EXPECT_EQ(window.continueButton()->text(), Localization::localizedString("Done"));
    EXPECT_TRUE(wizard.completions.isEmpty());

    QTest::mouseClick(window.continueButton(), Qt::LeftButton);
    EXPECT_EQ(wizard.completions, QList<bool>{true});
    EXPECT_FALSE(window.isVisible());
}

TEST(SetupWindow, PagesAnswersEnableButtonsAndTitleContinue) {
    Wizard wizard;
    SetupWindow& window = wizard.window;
    wizard.middle->title = QStringLiteral("Start");
    wizard.middle->allowContinue = false;
    wizard.middle->allowBack = false;
    window.show();
    window.goForward();
    EXPECT_EQ(window.continueButton()->text(), "Start");
    EXPECT_FALSE(window.continueButton()->isEnabled());
    EXPECT_FALSE(window.backButton()->isEnabled());
    // Refused moves do nothing, also when asked directly.
    window.goForward();
    window.goBack();
    EXPECT_EQ(window.currentStage(), 1);

    wizard.middle->allowContinue = true;
    window.updateButtons();
    EXPECT_TRUE(window.continueButton()->isEnabled());
    window.goForward();
    EXPECT_EQ(window.currentStage(), 2);
}

TEST(SetupWindow, CancelEscapeAndCloseCompleteWithFalse) {
    Wizard wizard;
    SetupWindow& window = wizard.window;
    window.show();
    QTest::mouseClick(window.cancelButton(), Qt::LeftButton);
    EXPECT_EQ(wizard.completions, QList<bool>{false});
    EXPECT_FALSE(window.isVisible());

    window.show();
    QTest::keyClick(&window, Qt::Key_Escape);
    window.show();
    window.close();
    EXPECT_EQ(wizard.completions, QList<bool>({false, false, false}));
}

TEST(SetupWindow, StaysOpenWhenItsOwnerClosesIt) {
    Wizard wizard;
    SetupWindow& window = wizard.window;
    window.setClosesOnCompletion(false);
    window.show();
    window.cancelSetup();
    EXPECT_EQ(wizard.completions, QList<bool>{false});
    EXPECT_TRUE(window.isVisible());
    window.close(); // asks again; the owner decides
    EXPECT_TRUE(window.isVisible());
    // A handler closing the window itself is not asked twice.
    window.setCompletionHandler([&](bool done) {
        wizard.completions << done;
        window.close();
    });
    window.cancelSetup();
    EXPECT_EQ(wizard.completions, QList<bool>({false, false, false}));
    EXPECT_FALSE(window.isVisible());
}

TEST(SetupWindow, FirstPageIsToldWhenTheWindowFirstShows) {
    auto* first = new AnsweringPage;
    SetupWindow window({first}, {});
    EXPECT_EQ(first->arrivals, 0);
    window.show();
    window.hide();
    window.show();
    EXPECT_EQ(first->arrivals, 1);
    EXPECT_EQ(window.continueButton()->text(), Localization::localizedString("Done"));
}

TEST(WizardWindow, ShortensTheContentBoxAndTheSidePicture) {
    SetupWindow standard({new QWidget}, {});
    WizardWindow wizard({new QWidget, new QWidget}, 100, {});
    EXPECT_EQ(WizardWindow::lastHeightAdjustment(), 100);
    EXPECT_EQ(wizard.contentBox()->minimumHeight(), standard.contentBox()->minimumHeight() - 100);
    EXPECT_EQ(wizard.imageView()->minimumHeight(), standard.imageView()->minimumHeight() - 100);
    EXPECT_EQ(wizard.height(), standard.sizeHint().height() - 100);
    EXPECT_EQ(wizard.referenceViewHeight(), 0);
    wizard.show();
    wizard.goForward();
    EXPECT_GT(wizard.referenceViewHeight(), 0);
    EXPECT_LE(wizard.referenceViewHeight(), wizard.contentBox()->height());
}

TEST(WizardWindow, TallPagesStillGetTheirRoom) {
    auto* tall = new QWidget;
    tall->setMinimumHeight(400);
    WizardWindow wizard({tall}, 100, {});
    wizard.show();
    EXPECT_GE(tall->height(), 400);
}
