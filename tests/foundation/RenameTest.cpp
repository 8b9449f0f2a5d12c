// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/FileManagerRename.h"

#include "TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QWidget>

#include <gtest/gtest.h>

using namespace FileManagerRename;

class Rename : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(TestFiles::write(m_source, "a"));
        ASSERT_TRUE(TestFiles::write(m_sibling, "b"));
    }
    QStringList entries() const {
        return QDir(m_dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
    }

    QTemporaryDir m_dir;
    QString m_source = m_dir.filePath(QStringLiteral("a.jpg"));
    QString m_sibling = m_dir.filePath(QStringLiteral("b.jpg"));
};

TEST_F(Rename, CodesForEveryOutcome) {
    const QStringList before = entries();
    EXPECT_EQ(tryRenameFile(m_source, QStringLiteral("x/y.jpg")), RenameInvalidName);
    EXPECT_EQ(tryRenameFile(m_source, QStringLiteral("x:y.jpg")), RenameInvalidName);
    EXPECT_EQ(tryRenameFile(m_source, QStringLiteral("b.jpg")), RenameConflict);
    EXPECT_EQ(entries(), before);
    EXPECT_EQ(TestFiles::read(m_sibling), "b");

    EXPECT_EQ(tryRenameFile(m_dir.filePath(QStringLiteral("gone.jpg")), QStringLiteral("c.jpg")),
              RenameFailed);
    EXPECT_EQ(tryRenameFile(m_source, QStringLiteral("c.jpg")), RenameDone);
    EXPECT_EQ(TestFiles::read(m_dir.filePath(QStringLiteral("c.jpg"))), "a");
    EXPECT_FALSE(QFileInfo::exists(m_source));
}

TEST_F(Rename, AlertsOnlyForInvalidAndConflictingNames) {
    QWidget window;
    const auto alerts = [&] { return window.findChildren<QMessageBox*>().size(); };
    EXPECT_EQ(tryRenameFile(m_source, QStringLiteral("a/b"), &window), RenameInvalidName);
    EXPECT_EQ(alerts(), 1);
    EXPECT_EQ(tryRenameFile(m_source, QStringLiteral("b.jpg"), &window), RenameConflict);
    EXPECT_EQ(alerts(), 2);
    const QMessageBox* conflict = window.findChildren<QMessageBox*>().last();
    EXPECT_TRUE(conflict->text().contains(QStringLiteral("b.jpg")));
    EXPECT_EQ(tryRenameFile(m_dir.filePath(QStringLiteral("gone")), QStringLiteral("z"), &window),
              RenameFailed);
    EXPECT_EQ(alerts(), 2);
}
