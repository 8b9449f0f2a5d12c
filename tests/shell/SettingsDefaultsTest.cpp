// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"

#include "UserDefaults.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace SettingsKeys;

TEST(SettingsDefaults, TableIsComputedAtRegistration) {
    const QVariantMap d = SettingsDefaults::defaultValues();
    EXPECT_EQ(d.size(), 27);
    EXPECT_FALSE(d.contains(first_run));
    EXPECT_EQ(d.value(browser_folder).toString(), QDir::homePath() + "/Pictures");
    EXPECT_EQ(d.value(browser_favorites).toStringList(),
              QStringList({QDir::homePath() + "/Pictures", QDir::homePath() + "/Desktop",
                           "/Library/Desktop Pictures", "/Library/User Pictures"}));
    EXPECT_EQ(d.value(transfer_destination).toString(), "~/Pictures/[%Y]/[%Y-%m-%d] %P");
    EXPECT_EQ(d.value(viewer_background).toString(), "#000000");
    EXPECT_EQ(d.value(transfer_desc_history), QVariant(QStringList()));
    EXPECT_EQ(d.value(batch_rename_suffix).toString(), " resized");
    EXPECT_DOUBLE_EQ(d.value(jpeg_compression).toDouble(), 90.0);
    EXPECT_EQ(d.value(transfer_overwrite_default).toInt(), 1);
    EXPECT_EQ(d.value(slideshow_delay).toInt(), 3);
    EXPECT_EQ(d.value(transfer_verify), QVariant(false));
}

TEST(SettingsDefaults, RegistrationKeepsWhatTheUserStored) {
    QTemporaryDir dir;
    UserDefaults store(dir.filePath("pixhaul.conf"));
    store.setObject(QStringList{"Holidays"}, transfer_desc_history);
    store.setInteger(2, transfer_overwrite_mode);
    SettingsDefaults::registerDefaults(store);
    EXPECT_EQ(store.stringArrayForKey(transfer_desc_history), QStringList{"Holidays"});
    EXPECT_EQ(store.integerForKey(transfer_overwrite_mode), 2);
    EXPECT_TRUE(store.boolForKey(transfer_rotate));
    EXPECT_FALSE(store.objectForKey(first_run).isValid());
}
