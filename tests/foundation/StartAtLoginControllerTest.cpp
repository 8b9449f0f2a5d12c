// SPDX-License-Identifier: GPL-3.0-or-later
#include "StartAtLoginController.h"

#include "TestFiles.h"

#include <QFileInfo>
#include <QStandardPaths>

#include <gtest/gtest.h>

TEST(StartAtLoginController, WritesReadsBackAndRemovesTheAutostartEntry) {
    StartAtLoginController controller(QStringLiteral("com.zentrovo.pixhaul.launcher"),
                                      QStringLiteral("/opt/pixhaul/bin/pixhaul-launcher"));
    EXPECT_EQ(controller.entryPath(),
              QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                  "/autostart/com.zentrovo.pixhaul.launcher.desktop");
    EXPECT_FALSE(controller.startAtLogin());

    ASSERT_TRUE(controller.setStartAtLogin(true));
    EXPECT_TRUE(controller.startAtLogin());
    const QByteArray entry = TestFiles::read(controller.entryPath());
    EXPECT_TRUE(entry.contains("Exec=/opt/pixhaul/bin/pixhaul-launcher\n"));
    EXPECT_TRUE(entry.startsWith("[Desktop Entry]\n"));

    // A second controller sees the real state, not a remembered one.
    StartAtLoginController other(QStringLiteral("com.zentrovo.pixhaul.launcher"), QString());
    EXPECT_TRUE(other.startAtLogin());

    ASSERT_TRUE(controller.setStartAtLogin(false));
    EXPECT_FALSE(QFileInfo::exists(controller.entryPath()));
    EXPECT_FALSE(other.startAtLogin());
    EXPECT_TRUE(controller.setStartAtLogin(false));
}

TEST(StartAtLoginController, AnEntrySwitchedOffByTheDesktopDoesNotCount) {
    StartAtLoginController controller(QStringLiteral("org.example.switched-off"),
                                      QStringLiteral("x"));
    ASSERT_TRUE(TestFiles::write(controller.entryPath(),
                                 "[Desktop Entry]\nType=Application\nExec=x\nHidden=true\n"));
    EXPECT_FALSE(controller.startAtLogin());
    ASSERT_TRUE(TestFiles::write(controller.entryPath(),
                                 "[Desktop Entry]\nExec=x\nX-GNOME-Autostart-enabled=false\n"));
    EXPECT_FALSE(controller.startAtLogin());
    controller.setEnabled(false);
    EXPECT_FALSE(controller.isEnabled());
}
