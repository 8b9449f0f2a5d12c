// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchCommandOptions.h"
#include "BatchCommand.h"

#include "PrivateSettings.h"
#include "settings/SettingsDefaults.h"
#include "settings/SettingsKeys.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

std::optional<BatchCommandOptions> parse(const QStringList& arguments, QString* error = nullptr) {
    QString message;
    std::optional<BatchCommandOptions> options = BatchCommandOptions::parse(arguments, message);
    if (error)
        *error = message;
    return options;
}

TEST(BatchCommandOptionsTest, ReadsEveryOption) {
    const auto options =
        parse({"--resize-pixels", "800", "--format", "png", "--strip-exif", "--suffix", " small",
               "--trash-originals", "--dest", "/out", "a.jpg", "--", "--b.jpg"});
    ASSERT_TRUE(options);
    EXPECT_EQ(options->resizePixels, 800);
    EXPECT_FALSE(options->resizePercent);
    EXPECT_EQ(options->format, BatchOptions::Format::Png);
    EXPECT_EQ(options->copyExif, false);
    EXPECT_EQ(options->suffix, QStringLiteral(" small"));
    EXPECT_TRUE(options->trashOriginals);
    EXPECT_EQ(options->destination, QStringLiteral("/out"));
    EXPECT_EQ(options->files, (QStringList{"a.jpg", "--b.jpg"}));
}

TEST(BatchCommandOptionsTest, RefusesWhatItCannotUse) {
    QString error;
    for (const QStringList& arguments :
         {QStringList{}, QStringList{"--resize-pixels", "0", "a.jpg"},
          QStringList{"--resize-pixels", "big", "a.jpg"},
          QStringList{"--resize-percent", "-5", "a.jpg"},
          QStringList{"--resize-pixels", "10", "--resize-percent", "10", "a.jpg"},
          QStringList{"--format", "gif", "a.jpg"}, QStringList{"--bogus", "a.jpg"},
          QStringList{"a.jpg", "--dest"}, QStringList{"--dest", "", "a.jpg"}}) {
        EXPECT_FALSE(parse(arguments, &error)) << arguments.join(u' ').toStdString();
        EXPECT_FALSE(error.isEmpty());
    }
    EXPECT_TRUE(parse({"--help"}));
}

// Left-out options take the window's settings, except that nothing goes to
// the Trash unless the command line says so.
TEST(BatchCommandOptionsTest, FallsBackToTheSettings) {
    PrivateSettings settings;
    SettingsDefaults::registerDefaults(settings.store);
    settings.store.setObject(QStringLiteral(" copy"),
                             QLatin1String(SettingsKeys::batch_rename_suffix));
    settings.store.setBool(true, QLatin1String(SettingsKeys::batch_delete_originals));
    settings.store.setBool(false, QLatin1String(SettingsKeys::batch_convert_copy_exif));

    const BatchOptions options =
        BatchCommand(*parse({"/pictures/a.jpg", "/other/b.jpg"}), settings.store).batchOptions();
    EXPECT_EQ(options.resize, BatchOptions::Resize::None);
    EXPECT_EQ(options.format, BatchOptions::Format::Same);
    EXPECT_TRUE(options.renameFiles);
    EXPECT_EQ(options.renameSuffix, QStringLiteral(" copy"));
    EXPECT_FALSE(options.copyExif);
    EXPECT_FALSE(options.deleteOriginals);
    EXPECT_EQ(options.destinationFolder, QStringLiteral("/pictures"));

    const BatchOptions relative =
        BatchCommand(*parse({"--dest", "out", "--suffix", "", "--resize-percent", "50", "a.jpg"}),
                     settings.store)
            .batchOptions();
    EXPECT_EQ(relative.destinationFolder, QDir::current().absoluteFilePath(QStringLiteral("out")));
    EXPECT_EQ(relative.renameSuffix, QString());
    EXPECT_EQ(relative.resize, BatchOptions::Resize::ByPercent);
    EXPECT_EQ(relative.resizePercent, 50.0);
}

} // namespace
