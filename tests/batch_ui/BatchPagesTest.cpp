// SPDX-License-Identifier: GPL-3.0-or-later
// The wizard's pages: what they show from the settings store, what they
// store when the run starts, the resize fields and the overwrite warning.
#include "BatchUiFixture.h"

#include "UserDefaults.h"
#include "batch/BatchOptions.h"
#include "batch/ui/BatchConvertController.h"
#include "batch/ui/BatchOutputController.h"
#include "batch/ui/BatchProgressController.h"
#include "batch/ui/BatchResizeController.h"
#include "settings/SettingsKeys.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QProgressBar>
#include <QSpinBox>

#include <functional>
#include <optional>
#include <ostream>

namespace {

using namespace SettingsKeys;

// The six stored choices, as the pages show them or the store holds them.
struct Choices {
    int pixels;
    int percent;
    bool copyExif;
    bool rename;
    const char* suffix;
    bool deleteOriginals;
};

constexpr Choices defaults{1600, 100, true, true, " resized", false};

void store(UserDefaults& settings, const Choices& c) {
    settings.setInteger(c.pixels, QLatin1String(batch_resize_pixels));
    settings.setInteger(c.percent, QLatin1String(batch_resize_pct));
    settings.setBool(c.copyExif, QLatin1String(batch_convert_copy_exif));
    settings.setBool(c.rename, QLatin1String(batch_rename_files));
    settings.setObject(QString::fromUtf8(c.suffix), QLatin1String(batch_rename_suffix));
    settings.setBool(c.deleteOriginals, QLatin1String(batch_delete_originals));
}

struct Pages {
    explicit Pages(UserDefaults& settings, const QString& folder)
        : resize(settings)
        , convert(settings)
        , output(folder, settings) {}

    BatchResizeController resize;
    BatchConvertController convert;
    BatchOutputController output;

    void saveAll() {
        resize.save();
        convert.save();
        output.save();
    }
};

struct PageCase {
    const char* name;
    std::optional<Choices> stored; // none: the registered defaults only
    Choices shown;
    std::function<void(Pages&)> edit;
    Choices saved;
};

void PrintTo(const PageCase& c, std::ostream* out) {
    *out << c.name;
}

const PageCase pageCases[] = {
    {"defaults shown and kept", std::nullopt, defaults, [](Pages&) {}, defaults},
    {"stored values shown", Choices{800, 50, false, false, "-small", true},
     Choices{800, 50, false, false, "-small", true}, [](Pages&) {},
     Choices{800, 50, false, false, "-small", true}},
    {"no resizing stores neither size", Choices{800, 50, true, true, " resized", false},
     Choices{800, 50, true, true, " resized", false},
     [](Pages& p) {
         p.resize.resizePixels()->setValue(1200);
         p.resize.resizePercentage()->setValue(30);
         p.resize.setResizeRow(BatchResizeController::rowNone);
     },
     Choices{800, 50, true, true, " resized", false}},
    {"pixel row stores the pixels only", Choices{800, 50, true, true, " resized", false},
     Choices{800, 50, true, true, " resized", false},
     [](Pages& p) {
         p.resize.setResizeRow(BatchResizeController::rowPixels);
         p.resize.resizePixels()->setValue(1200);
         p.resize.resizePercentage()->setValue(30);
     },
     Choices{1200, 50, true, true, " resized", false}},
    {"percentage row stores the percentage's integer part",
     Choices{800, 50, true, true, " resized", false},
     Choices{800, 50, true, true, " resized", false},
     [](Pages& p) {
         p.resize.setResizeRow(BatchResizeController::rowPercentage);
         p.resize.resizePixels()->setValue(1200);
         p.resize.resizePercentage()->setValue(33.7);
     },
     Choices{800, 33, true, true, " resized", false}},
    {"renaming off keeps the stored suffix", std::nullopt, defaults,
     [](Pages& p) {
         p.output.renameSuffix()->setText(QStringLiteral("-web"));
         p.output.renameFiles()->setChecked(false);
     },
     Choices{1600, 100, true, false, " resized", false}},
    {"renaming on stores the suffix, also an empty one",
     Choices{1600, 100, true, false, "-web", false}, Choices{1600, 100, true, false, "-web", false},
     [](Pages& p) {
         p.output.renameFiles()->setChecked(true);
         p.output.renameSuffix()->clear();
     },
     Choices{1600, 100, true, true, "", false}},
    {"boxes stored as left", std::nullopt, defaults,
     [](Pages& p) {
         p.convert.exifCopy()->setChecked(false);
         p.output.deleteOriginals()->setChecked(true);
     },
     Choices{1600, 100, false, true, " resized", true}},
};

class BatchPagesTest : public BatchUiFixture, public ::testing::WithParamInterface<PageCase> {};

TEST_P(BatchPagesTest, ShowTheStoredChoicesAndSaveThemAsTabled) {
    const PageCase& c = GetParam();
    UserDefaults& settings = m_settings.store;
    if (c.stored)
        store(settings, *c.stored);
    Pages pages(settings, m_sources.path());

    // Choices that are not stored always start the same way.
    EXPECT_EQ(pages.resize.resizeRow(), BatchResizeController::rowNone);
    EXPECT_EQ(pages.convert.imageFormat()->currentIndex(), BatchConvertController::itemSame);
    EXPECT_EQ(pages.output.destinationPath()->text(), m_sources.path());
    EXPECT_EQ(pages.resize.resizePixels()->value(), c.shown.pixels);
    EXPECT_EQ(pages.resize.resizePercentage()->value(), double(c.shown.percent));
    EXPECT_EQ(pages.convert.exifCopy()->isChecked(), c.shown.copyExif);
    EXPECT_EQ(pages.output.renameFiles()->isChecked(), c.shown.rename);
    EXPECT_EQ(pages.output.renameSuffix()->text(), QString::fromUtf8(c.shown.suffix));
    EXPECT_EQ(pages.output.deleteOriginals()->isChecked(), c.shown.deleteOriginals);

    c.edit(pages);
    pages.saveAll();

    EXPECT_EQ(settings.integerForKey(QLatin1String(batch_resize_pixels)), c.saved.pixels);
    EXPECT_EQ(settings.integerForKey(QLatin1String(batch_resize_pct)), c.saved.percent);
    EXPECT_EQ(settings.boolForKey(QLatin1String(batch_convert_copy_exif)), c.saved.copyExif);
    EXPECT_EQ(settings.boolForKey(QLatin1String(batch_rename_files)), c.saved.rename);
    EXPECT_EQ(settings.stringForKey(QLatin1String(batch_rename_suffix)),
              QString::fromUtf8(c.saved.suffix));
    EXPECT_EQ(settings.boolForKey(QLatin1String(batch_delete_originals)), c.saved.deleteOriginals);
}

INSTANTIATE_TEST_SUITE_P(Pages, BatchPagesTest, ::testing::ValuesIn(pageCases));

using BatchPageControls = BatchUiFixture;

TEST_F(BatchPageControls, OnlyTheChosenRowsFieldIsEnabled) {
    struct RowCase {
        int row;
        bool pixels;
        bool percentage;
    };
    const RowCase rows[] = {{BatchResizeController::rowPixels, true, false},
                            {BatchResizeController::rowPercentage, false, true},
                            {BatchResizeController::rowNone, false, false}};
    BatchResizeController page(m_settings.store);
    EXPECT_FALSE(page.resizePixels()->isEnabled());
    EXPECT_FALSE(page.resizePercentage()->isEnabled());
    for (const RowCase& r : rows) {
        // As a click on the row does.
        page.resizeOptions()->button(r.row)->click();
        EXPECT_EQ(page.resizePixels()->isEnabled(), r.pixels) << "row " << r.row;
        EXPECT_EQ(page.resizePercentage()->isEnabled(), r.percentage) << "row " << r.row;
    }
}

TEST_F(BatchPageControls, ChoicesReachTheRunOptions) {
    struct FormatCase {
        int item;
        BatchOptions::Format format;
    };
    const FormatCase formats[] = {{BatchConvertController::itemSame, BatchOptions::Format::Same},
                                  {BatchConvertController::itemJpeg, BatchOptions::Format::Jpeg},
                                  {BatchConvertController::itemPng, BatchOptions::Format::Png}};
    Pages pages(m_settings.store, m_sources.path());
    for (const FormatCase& f : formats) {
        pages.convert.imageFormat()->setCurrentIndex(f.item);
        BatchOptions options;
        pages.convert.applyTo(options);
        EXPECT_EQ(options.format, f.format) << "item " << f.item;
    }

    pages.resize.setResizeRow(BatchResizeController::rowPercentage);
    pages.resize.resizePercentage()->setValue(12.5);
    pages.output.destinationPath()->setText(m_dest.path());
    pages.output.renameSuffix()->setText(QStringLiteral("-half"));
    BatchOptions options;
    pages.resize.applyTo(options);
    pages.output.applyTo(options);
    EXPECT_EQ(options.resize, BatchOptions::Resize::ByPercent);
    EXPECT_EQ(options.resizePercent, 12.5);
    EXPECT_EQ(options.destinationFolder, m_dest.path());
    EXPECT_TRUE(options.renameFiles);
    EXPECT_EQ(options.renameSuffix, QStringLiteral("-half"));
    EXPECT_FALSE(options.deleteOriginals);
}

TEST_F(BatchPageControls, OutputPageStartsTheRunOnlyIntoAnExistingFolder) {
    BatchOutputController page(m_sources.path(), m_settings.store);
    EXPECT_EQ(page.continueButtonTitle(), QStringLiteral("Start"));
    const struct {
        QString folder;
        bool canContinue;
    } folders[] = {{m_dest.path(), true},
                   {m_dest.path() + QStringLiteral("/missing"), false},
                   {QString(), false},
                   {QStringLiteral("relative"), false}};
    for (const auto& f : folders) {
        page.destinationPath()->setText(f.folder);
        EXPECT_EQ(page.canContinue(), f.canContinue) << f.folder.toStdString();
    }
}

TEST_F(BatchPageControls, ProgressPageNeitherGoesBackNorContinues) {
    BatchProgressController page;
    EXPECT_FALSE(page.canGoBack());
    EXPECT_FALSE(page.canContinue());
    EXPECT_EQ(page.progress()->minimum(), 0);
    EXPECT_EQ(page.progressValue(), 0.0);
    // Three pictures, the second failing: two steps of a third.
    page.incrementBy(100.0 / 3);
    page.incrementBy(100.0 / 3);
    EXPECT_NEAR(page.progressValue(), 66.67, 0.01);
    EXPECT_EQ(page.progress()->value(), 667);
    page.setIndeterminate();
    EXPECT_EQ(page.progress()->maximum(), 0);
}

struct WarningCase {
    const char* name;
    const char* destinationSuffix; // appended to the source folder; null: another folder
    bool rename;
    const char* suffix;
    bool deleteOriginals;
    bool shown;
};

void PrintTo(const WarningCase& c, std::ostream* out) {
    *out << c.name;
}

const WarningCase warningCases[] = {
    {"same folder, same names", "", false, " resized", false, true},
    {"same folder with a suffix", "", true, " resized", false, false},
    {"same folder, renaming with an empty suffix", "", true, "", false, true},
    {"same folder, originals to the Trash", "", false, "", true, false},
    {"same folder with a trailing slash", "/", false, "", false, false},
    {"another folder", nullptr, false, "", false, false},
};

class BatchOverwriteWarningTest : public BatchUiFixture,
                                  public ::testing::WithParamInterface<WarningCase> {};

TEST_P(BatchOverwriteWarningTest, ShowsWhenTheOriginalsWouldBeReplaced) {
    const WarningCase& c = GetParam();
    // The page starts in the opposite state of the case's boxes, so each
    // box's change must reach the warning by itself.
    m_settings.store.setBool(!c.rename, QLatin1String(batch_rename_files));
    m_settings.store.setBool(!c.deleteOriginals, QLatin1String(batch_delete_originals));
    BatchOutputController page(m_sources.path(), m_settings.store);

    page.renameSuffix()->setText(QString::fromUtf8(c.suffix));
    page.renameFiles()->setChecked(c.rename);
    page.deleteOriginals()->setChecked(c.deleteOriginals);
    page.destinationPath()->setText(c.destinationSuffix
                                        ? m_sources.path() + QString::fromUtf8(c.destinationSuffix)
                                        : m_dest.path());
    EXPECT_EQ(!page.overwriteWarning()->isHidden(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(Cases, BatchOverwriteWarningTest, ::testing::ValuesIn(warningCases));

} // namespace
