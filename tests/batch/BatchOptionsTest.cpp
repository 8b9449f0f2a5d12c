// SPDX-License-Identifier: GPL-3.0-or-later
#include "batch/BatchOptions.h"

#include "PrivateSettings.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"

#include <gtest/gtest.h>

namespace {

using Resize = BatchOptions::Resize;
using Format = BatchOptions::Format;

struct SizeCase {
    Resize resize;
    double amount; // pixels or percent
    QSize from;
    QSize to;
};

class ResizedSizeTest : public ::testing::TestWithParam<SizeCase> {};

TEST_P(ResizedSizeTest, RoundsAsThePagesPromise) {
    const SizeCase& c = GetParam();
    BatchOptions options;
    options.resize = c.resize;
    options.resizePixels = int(c.amount);
    options.resizePercent = c.amount;
    EXPECT_EQ(options.resizedSize(c.from), c.to);
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, ResizedSizeTest,
    ::testing::Values(SizeCase{Resize::ToPixels, 1600, {4000, 3000}, {1600, 1200}},
                      SizeCase{Resize::ToPixels, 1600, {3000, 4000}, {1200, 1600}},
                      // Enlarged; a square's height decides.
                      SizeCase{Resize::ToPixels, 1600, {1000, 1000}, {1600, 1600}},
                      SizeCase{Resize::ToPixels, 1600, {6000, 4001}, {1600, 1067}},
                      SizeCase{Resize::ByPercent, 50, {1001, 667}, {501, 334}},
                      SizeCase{Resize::ByPercent, 100, {1001, 667}, {1001, 667}},
                      SizeCase{Resize::ByPercent, 12.5, {64, 32}, {8, 4}},
                      // A sliver stays at least one pixel wide.
                      SizeCase{Resize::ToPixels, 100, {10000, 10}, {100, 1}},
                      SizeCase{Resize::None, 1600, {4000, 3000}, {4000, 3000}}));

struct NameCase {
    const char* source;
    Format format;
    bool rename;
    const char* suffix;
    const char* name;
};

class TargetNameTest : public ::testing::TestWithParam<NameCase> {};

TEST_P(TargetNameTest, KeepsTheBaseAndFollowsTheExtensionRule) {
    const NameCase& c = GetParam();
    BatchOptions options;
    options.format = c.format;
    options.renameFiles = c.rename;
    options.renameSuffix = QString::fromUtf8(c.suffix);
    options.destinationFolder = QStringLiteral("/out/");
    EXPECT_EQ(options.targetNameFor(QString::fromUtf8(c.source)), QString::fromUtf8(c.name));
    EXPECT_EQ(options.targetPathFor(QString::fromUtf8(c.source)),
              QStringLiteral("/out/") + QString::fromUtf8(c.name));
}

INSTANTIATE_TEST_SUITE_P(
    Names, TargetNameTest,
    ::testing::Values(NameCase{"/in/IMG_0001.JPG", Format::Png, true, " resized",
                               "IMG_0001 resized.PNG"},
                      NameCase{"/in/a.jpeg", Format::Same, false, "", "a.jpeg"},
                      NameCase{"/in/a.jpeg", Format::Jpeg, false, "", "a.jpg"},
                      NameCase{"/in/Photo.Jpg", Format::Png, true, "-small", "Photo-small.png"},
                      // No extension counts as upper case.
                      NameCase{"/in/scan", Format::Jpeg, true, " resized", "scan resized.JPG"},
                      NameCase{"/in/scan", Format::Same, false, "", "scan"},
                      // An empty suffix while renaming keeps the name.
                      NameCase{"/in/b.png", Format::Same, true, "", "b.png"},
                      NameCase{"/in/archive.tar.png", Format::Jpeg, false, "", "archive.tar.jpg"},
                      NameCase{"/in/.hidden", Format::Png, false, "", ".hidden.PNG"}));

TEST(BatchOptionsSettingsTest, ReadsAndSavesAsThePagesDo) {
    PrivateSettings settings;
    SettingsDefaults::registerDefaults(settings.store);
    const BatchOptions defaults = BatchOptions::fromSettings(settings.store);
    EXPECT_EQ(defaults.resize, Resize::None);
    EXPECT_EQ(defaults.format, Format::Same);
    EXPECT_EQ(defaults.resizePixels, 1600);
    EXPECT_EQ(defaults.resizePercent, 100.0);
    EXPECT_TRUE(defaults.copyExif);
    EXPECT_TRUE(defaults.renameFiles);
    EXPECT_EQ(defaults.renameSuffix, QStringLiteral(" resized"));
    EXPECT_FALSE(defaults.deleteOriginals);
    EXPECT_EQ(defaults.jpegCompression, 90.0);

    // No resizing stores neither size; renaming off keeps the last suffix.
    BatchOptions options = defaults;
    options.resizePixels = 800;
    options.resizePercent = 30;
    options.renameFiles = false;
    options.renameSuffix = QStringLiteral(" lost");
    options.copyExif = false;
    options.deleteOriginals = true;
    options.saveTo(settings.store);
    BatchOptions read = BatchOptions::fromSettings(settings.store);
    EXPECT_EQ(read.resizePixels, 1600);
    EXPECT_EQ(read.resizePercent, 100.0);
    EXPECT_EQ(read.renameSuffix, QStringLiteral(" resized"));
    EXPECT_FALSE(read.renameFiles);
    EXPECT_FALSE(read.copyExif);
    EXPECT_TRUE(read.deleteOriginals);

    // Only the chosen row's size is stored.
    options.resize = Resize::ByPercent;
    options.renameFiles = true;
    options.saveTo(settings.store);
    read = BatchOptions::fromSettings(settings.store);
    EXPECT_EQ(read.resizePixels, 1600);
    EXPECT_EQ(read.resizePercent, 30.0);
    EXPECT_EQ(read.renameSuffix, QStringLiteral(" lost"));
    options.resize = Resize::ToPixels;
    options.saveTo(settings.store);
    EXPECT_EQ(BatchOptions::fromSettings(settings.store).resizePixels, 800);
}

} // namespace
