// SPDX-License-Identifier: GPL-3.0-or-later
#include "StringUtils.h"

#include "TestFiles.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace StringUtils;

TEST(StringUtils, Trimming) {
    EXPECT_EQ(stringByTrimmingTrailingWhitespaceAndNewlineCharacters(QStringLiteral("   ")), "");
    EXPECT_EQ(stringByTrimmingLeadingWhitespaceAndNewlineCharacters(QStringLiteral("\n\t a b ")),
              "a b ");
    EXPECT_EQ(stringByTrimmingTrailingWhitespaceAndNewlineCharacters(QStringLiteral(" a b \n")),
              " a b");
    const auto digits = [](QChar c) { return c.isDigit(); };
    EXPECT_EQ(stringByTrimmingLeadingCharactersInSet(QStringLiteral("0012a3"), digits), "a3");
    EXPECT_EQ(stringByTrimmingTrailingCharactersInSet(QStringLiteral("0012a3"), digits), "0012a");
    EXPECT_EQ(stringByTrimmingLeadingCharactersInSet(QStringLiteral("123"), digits), "");
}

TEST(StringUtils, CleaningFilenames) {
    EXPECT_EQ(stringByCleaningFilename(QStringLiteral("a:b?c")), "a_b_c");
    EXPECT_EQ(stringByCleaningFilename(QStringLiteral("x<y>|z")), "x_y__z");
    EXPECT_EQ(stringByCleaningFilename(QStringLiteral("a/b\\c%d\"e")), "a_b_c_d_e");
    // Accents drop to their base letters; other characters become one '_' each.
    EXPECT_EQ(stringByCleaningFilename(QStringLiteral("Café Ürün")), "Cafe Urun");
    EXPECT_EQ(stringByCleaningFilename(QString::fromUtf8("日本 \xF0\x9F\x98\x80.jpg")), "__ _.jpg");
}

TEST(StringUtils, DurationText) {
    EXPECT_EQ(stringFromDurationInSeconds(0), "0:0");
    EXPECT_EQ(stringFromDurationInSeconds(65), "1:5");
    EXPECT_EQ(stringFromDurationInSeconds(3599), "59:59");
    EXPECT_EQ(stringFromDurationInSeconds(3630), "60:30");
    EXPECT_EQ(stringFromDurationInSeconds(3659), "60:59");
    EXPECT_EQ(stringFromDurationInSeconds(3660), "1:1:0");
    EXPECT_EQ(stringFromDurationInSeconds(90061), "25:1:1");
}

TEST(StringUtils, UuidTextIsUpperCaseAndUnique) {
    const QString a = UUIDString();
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9A-F]{8}(-[0-9A-F]{4}){3}-[0-9A-F]{12}$"))
                    .match(a)
                    .hasMatch())
        << a.toStdString();
    EXPECT_NE(a, UUIDString());
}

TEST(StringUtils, DeleteResourceForkRemovesOnlyTheCompanion) {
    QTemporaryDir dir;
    const QString photo = dir.filePath(QStringLiteral("IMG_1.JPG"));
    const QString companion = dir.filePath(QStringLiteral("._IMG_1.JPG"));
    ASSERT_TRUE(TestFiles::write(photo, "photo"));
    ASSERT_TRUE(TestFiles::write(companion, "fork"));
    deleteResourceFork(photo);
    EXPECT_FALSE(QFileInfo::exists(companion));
    EXPECT_TRUE(QFileInfo::exists(photo));
    deleteResourceFork(photo); // nothing left to remove: no effect
    EXPECT_TRUE(QFileInfo::exists(photo));
}
