// SPDX-License-Identifier: GPL-3.0-or-later
#include "UserDefaults.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

class UserDefaultsTest : public ::testing::Test {
protected:
    QTemporaryDir m_dir;
    QString m_file = m_dir.filePath(QStringLiteral("settings.conf"));
    const QVariantMap m_defaults{{"count", 3},
                                 {"flag", true},
                                 {"ratio", 90.0},
                                 {"list", QStringList{"a", "b"}},
                                 {"name", QString(" x")}};
};

TEST_F(UserDefaultsTest, StoredValuesSurviveRegistrationAndRestart) {
    {
        UserDefaults store(m_file);
        store.registerDefaults(m_defaults);
        EXPECT_EQ(store.integerForKey("count"), 3);
        store.setInteger(7, "count");
        store.setBool(false, "flag");
    }
    UserDefaults reopened(m_file);
    reopened.registerDefaults(m_defaults);
    EXPECT_EQ(reopened.objectForKey("count"), QVariant(7));
    EXPECT_EQ(reopened.objectForKey("flag"), QVariant(false));
    EXPECT_EQ(reopened.stringForKey("name"), " x");

    reopened.removeObjectForKey("count");
    EXPECT_EQ(reopened.integerForKey("count"), 3);
}

TEST_F(UserDefaultsTest, UnregisteredKeysAreAbsentAndDefaultsAreNeverSaved) {
    {
        UserDefaults store(m_file);
        store.registerDefaults(m_defaults);
        EXPECT_FALSE(store.objectForKey("first_run").isValid());
        EXPECT_EQ(store.integerForKey("first_run"), 0);
        EXPECT_FALSE(store.boolForKey("first_run"));
        store.setObject(QStringLiteral("1"), "first_run");
    }
    UserDefaults reopened(m_file); // nothing registered this time
    EXPECT_FALSE(reopened.objectForKey("count").isValid());
    EXPECT_EQ(reopened.stringForKey("first_run"), "1");
}

TEST_F(UserDefaultsTest, ValuesComeBackWithTheTypeOfTheirDefault) {
    {
        UserDefaults store(m_file);
        store.setObject(QStringList{"only"}, "list");
        store.setObject(QStringList(), "empty");
        store.setDouble(75.5, "ratio");
    }
    UserDefaults reopened(m_file);
    reopened.registerDefaults(m_defaults);
    reopened.registerDefaults({{"empty", QStringList{"default"}}});
    EXPECT_EQ(reopened.objectForKey("list"), QVariant(QStringList{"only"}));
    EXPECT_EQ(reopened.objectForKey("empty"), QVariant(QStringList()));
    EXPECT_EQ(reopened.objectForKey("ratio"), QVariant(75.5));
}

TEST_F(UserDefaultsTest, StandardStoreCanBePointedAtAnotherFile) {
    UserDefaults::useFile(m_file);
    UserDefaults::standardUserDefaults().setInteger(42, "answer");
    UserDefaults::standardUserDefaults().synchronize();
    UserDefaults direct(m_file);
    EXPECT_EQ(direct.integerForKey("answer"), 42);
    UserDefaults::useFile(QString());
}
