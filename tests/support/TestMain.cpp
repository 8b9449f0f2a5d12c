// SPDX-License-Identifier: GPL-3.0-or-later
// Shared main of every test executable: a QApplication on the offscreen
// platform, and a private home so nothing touches the real user's
// settings, Trash or autostart entries.
#include "Localization.h"

#include <QApplication>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char** argv) {
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/pixhaul-test-home-XXXXXX"));
    if (!home.isValid())
        return 1;
    const QByteArray root = home.path().toUtf8();
    setenv("HOME", root.constData(), 1);
    setenv("XDG_CONFIG_HOME", (root + "/.config").constData(), 1);
    setenv("XDG_DATA_HOME", (root + "/.local/share").constData(), 1);
    setenv("XDG_CACHE_HOME", (root + "/.cache").constData(), 1);
    if (!getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("pixhaul-tests"));
    // Suites linking the application get its catalogue; others see keys.
    Localization::installTranslations();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
