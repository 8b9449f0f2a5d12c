// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"
#include "shell/AboutBoxController.h"
#include "shell/GeneralPreferencesController.h"
#include "shell/PreferencesWindowController.h"
#include "shell/TransferPreferencesController.h"
#include "shell/ViewerPreferencesController.h"

#include "UserDefaults.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace SettingsKeys;

class Preferences : public ::testing::Test {
protected:
    void SetUp() override {
        UserDefaults::useFile(m_dir.filePath("pixhaul.conf"));
        SettingsDefaults::registerDefaults(settings());
    }
    void TearDown() override { UserDefaults::useFile(QString()); }
    static UserDefaults& settings() { return UserDefaults::standardUserDefaults(); }

    QTemporaryDir m_dir;
};

TEST_F(Preferences, WindowShowsThePanesInOrderAndSwitchesThem) {
    PreferencesWindowController window({new GeneralPreferencesController,
                                        new TransferPreferencesController,
                                        new ViewerPreferencesController},
                                       QStringLiteral("Preferences"));
    EXPECT_EQ(window.windowTitle(), "Preferences");
    const QList<QAction*> items = window.findChild<QToolBar*>()->actions();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), "General");
    EXPECT_EQ(items[1]->text(), "Transfer");
    EXPECT_EQ(items[2]->text(), "Viewer");
    EXPECT_EQ(window.selectedPaneIdentifier(), "GeneralPreferences");
    items[2]->trigger();
    EXPECT_EQ(window.selectedPaneIdentifier(), "ViewerPreferences");
    EXPECT_TRUE(items[2]->isChecked());
    EXPECT_FALSE(items[0]->isChecked());
}

TEST_F(Preferences, GeneralPaneReadsTheLoginItemBackEachTimeItAppears) {
    GeneralPreferencesController pane;
    auto* box = pane.findChild<QCheckBox*>("autoTransfer");
    pane.show();
    EXPECT_FALSE(box->isChecked());
    box->click();
    EXPECT_TRUE(QFileInfo::exists(pane.loginController().entryPath()));
    EXPECT_TRUE(pane.loginController().startAtLogin());
    box->click();
    EXPECT_FALSE(pane.loginController().startAtLogin());

    // Switched on behind the pane's back: the next appearance shows it.
    pane.hide();
    pane.loginController().setStartAtLogin(true);
    pane.show();
    EXPECT_TRUE(box->isChecked());
    pane.loginController().setStartAtLogin(false);

    pane.findChild<QSpinBox*>("jpegQuality")->setValue(75);
    EXPECT_DOUBLE_EQ(settings().doubleForKey(jpeg_compression), 75.0);
}

TEST_F(Preferences, TransferPaneWritesEachSettingAtOnce) {
    settings().setInteger(2, transfer_overwrite_mode);
    TransferPreferencesController pane;
    auto* modes = pane.findChild<QComboBox*>("overwriteMode");
    EXPECT_EQ(modes->count(), 3);
    EXPECT_EQ(modes->currentIndex(), 2);
    modes->setCurrentIndex(1);
    EXPECT_EQ(settings().integerForKey(transfer_overwrite_mode), 1);

    auto* destination = pane.findChild<QLineEdit*>("destination");
    EXPECT_EQ(destination->text(), "~/Pictures/[%Y]/[%Y-%m-%d] %P");
    destination->selectAll();
    destination->insert(QStringLiteral("~/Photos/%Y/%P"));
    EXPECT_EQ(settings().stringForKey(transfer_destination), "~/Photos/%Y/%P");
    destination->selectAll();
    destination->del();
    EXPECT_EQ(settings().stringForKey(transfer_destination), "~/Pictures/[%Y]/[%Y-%m-%d] %P");

    pane.findChild<QCheckBox*>("rotate")->click();
    EXPECT_FALSE(settings().boolForKey(transfer_rotate));
    pane.findChild<QCheckBox*>("browse")->click();
    EXPECT_FALSE(settings().boolForKey(transfer_browse));
    auto* verify = pane.findChild<QCheckBox*>("verify");
    EXPECT_FALSE(verify->isChecked());
    verify->click();
    EXPECT_TRUE(settings().boolForKey(transfer_verify));
}

TEST_F(Preferences, TransferPaneHelpTogglesAndHidesWithThePane) {
    TransferPreferencesController pane;
    pane.show();
    auto* help = pane.findChild<QToolButton*>("helpButton");
    help->click();
    EXPECT_TRUE(pane.isHelpVisible());
    help->click();
    EXPECT_FALSE(pane.isHelpVisible());
    help->click();
    pane.hide();
    EXPECT_FALSE(pane.isHelpVisible());
}

TEST_F(Preferences, ViewerPaneKeepsTheBackgroundAsText) {
    ViewerPreferencesController pane;
    EXPECT_EQ(ViewerPreferencesController::backgroundColor(), QColor(0, 0, 0));
    pane.setBackgroundColor(QColor(0x33, 0x66, 0x99));
    EXPECT_EQ(settings().stringForKey(viewer_background), "#336699");
    EXPECT_EQ(ViewerPreferencesController::backgroundColor(), QColor(0x33, 0x66, 0x99));

    pane.findChild<QCheckBox*>("viewerTransition")->click();
    EXPECT_TRUE(settings().boolForKey(viewer_transition));
    pane.findChild<QCheckBox*>("slideshowTransition")->click();
    EXPECT_FALSE(settings().boolForKey(slideshow_transition));
    auto* delay = pane.findChild<QSpinBox*>("slideshowDelay");
    EXPECT_EQ(delay->value(), 3);
    delay->setValue(8);
    EXPECT_EQ(settings().integerForKey(slideshow_delay), 8);
}

TEST_F(Preferences, AboutBoxNamesVersionAndBuild) {
    const QRegularExpression format(QStringLiteral("^Version %1 \\(Build [0-9]+\\)$")
                                        .arg(QRegularExpression::escape(PIXHAUL_VERSION)));
    EXPECT_TRUE(format.match(AboutBoxController::bundleVersionNumber()).hasMatch())
        << AboutBoxController::bundleVersionNumber().toStdString();
}
