// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportOptions.h"

#include "camera/TransferMode.h"
#include "transfer/OverwriteMode.h"

#include <gtest/gtest.h>

namespace {

std::optional<ImportOptions> parse(const QStringList& arguments, QString* error = nullptr) {
    QString message;
    std::optional<ImportOptions> options = ImportOptions::parse(arguments, message);
    if (error)
        *error = message;
    return options;
}

TEST(ImportOptionsTest, ReadsEveryOption) {
    const auto options =
        parse({"--dest", "~/x/%Y", "--move", "--overwrite", "replace", "--no-rotate",
               "--description", "Trip", "--new-only", "--verify", "--dry-run", "/media/card"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->source, QStringLiteral("/media/card"));
    EXPECT_EQ(options->destinationPattern, QStringLiteral("~/x/%Y"));
    EXPECT_EQ(options->mode, TransferModeMove);
    EXPECT_EQ(options->overwriteMode, OverwriteModeReplace);
    EXPECT_EQ(options->rotate, false);
    EXPECT_EQ(options->description, QStringLiteral("Trip"));
    EXPECT_TRUE(options->dryRun);
    EXPECT_TRUE(options->newOnly);
    EXPECT_TRUE(options->verify);

    const auto plain = parse({"--copy", "--rotate", "--", "--odd-folder-name"});
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->source, QStringLiteral("--odd-folder-name"));
    EXPECT_EQ(plain->mode, TransferModeCopy);
    EXPECT_EQ(plain->rotate, true);
    EXPECT_FALSE(plain->overwriteMode);
    EXPECT_FALSE(plain->destinationPattern);
    EXPECT_FALSE(plain->newOnly);
    EXPECT_FALSE(plain->verify);
}

TEST(ImportOptionsTest, RefusesWhatItCannotUse) {
    QString error;
    EXPECT_FALSE(parse({}, &error));
    EXPECT_FALSE(parse({"--overwrite", "always", "/card"}, &error));
    EXPECT_TRUE(error.contains(QLatin1String("always")));
    EXPECT_FALSE(parse({"--bogus", "/card"}, &error));
    EXPECT_TRUE(error.contains(QLatin1String("--bogus")));
    EXPECT_FALSE(parse({"/card", "--dest"}, &error));
    EXPECT_FALSE(parse({"/a", "/b"}, &error));
    EXPECT_FALSE(parse({"--dest", " ", "/a"}, &error));
    EXPECT_TRUE(parse({"--help"}));
}

} // namespace
