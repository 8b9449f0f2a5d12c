// SPDX-License-Identifier: GPL-3.0-or-later
#include "browser/InfoPanelRows.h"
#include "ByteCountFormatter.h"
#include "DngFixture.h"
#include "Exif.h"
#include "ExifBuilder.h"
#include "HeifFixture.h"
#include "ImageUtils.h"
#include "JpegFixture.h"
#include "Localization.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using Localization::localizedString;

namespace {

class InfoPanelRowsTest : public ::testing::Test {
protected:
    QString path(const char* name) const { return m_folder.filePath(QLatin1String(name)); }
    static QStringList labels(const QList<InfoPanelRows::Row>& rows) {
        QStringList result;
        for (const InfoPanelRows::Row& row : rows)
            result << row.first;
        return result;
    }
    static QStringList localized(std::initializer_list<const char*> keys) {
        QStringList result;
        for (const char* key : keys)
            result << localizedString(key);
        return result;
    }
    static QString valueOf(const QList<InfoPanelRows::Row>& rows, const char* key) {
        for (const InfoPanelRows::Row& row : rows) {
            if (row.first == localizedString(key))
                return row.second;
        }
        return QStringLiteral("<absent>");
    }

    QTemporaryDir m_folder;
};

TEST_F(InfoPanelRowsTest, AJpegWithExifListsFileDetailsThenTheExifRowsInTableOrder) {
    JpegFixture::Options options;
    options.size = QSize(64, 32);
    options.digitized = QDateTime(QDate(2021, 6, 14), QTime(15, 30));
    options.make = QStringLiteral("Zentrovo");
    options.model = QStringLiteral("ZX-1");
    options.orientation = 6;
    ASSERT_TRUE(JpegFixture::write(path("photo.jpg"), options));

    const InfoPanelRows rows;
    const auto item = std::make_shared<BrowserItem>(path("photo.jpg"), BrowserItemTypeImage);
    const QList<InfoPanelRows::Row> info = rows.rowsForSelection({item});

    EXPECT_EQ(labels(info), localized({"Filename", "File size", "Taken on", "Dimensions",
                                       "Orientation", "Camera Make", "Camera Model"}));
    const Exif exif(path("photo.jpg"));
    EXPECT_EQ(valueOf(info, "Filename"), "photo.jpg");
    EXPECT_EQ(valueOf(info, "File size"),
              ByteCountFormatter::stringFromByteCount(QFileInfo(path("photo.jpg")).size(), "B", 0));
    EXPECT_EQ(valueOf(info, "Taken on"), InfoPanelRows::formattedDate(options.digitized));
    // Stored pixels, width first, whatever the orientation says.
    EXPECT_EQ(valueOf(info, "Dimensions"), "64 x 32");
    EXPECT_EQ(valueOf(info, "Orientation"), exif.getTagValue(0x0112));
    EXPECT_EQ(valueOf(info, "Camera Make"), "Zentrovo");
    EXPECT_EQ(valueOf(info, "Camera Model"), "ZX-1");
}

TEST_F(InfoPanelRowsTest, ExifTagsOfTheExifDirectoryFollowTheTableNotTheFile) {
    // Flash written before ISO, the table shows ISO first.
    ExifBuilder builder;
    builder.addShort(EXIF_IFD_EXIF, EXIF_TAG_FLASH, 1);
    builder.addShort(EXIF_IFD_EXIF, EXIF_TAG_ISO_SPEED_RATINGS, 400);
    builder.addText(EXIF_IFD_0, EXIF_TAG_MAKE, "Zentrovo");
    const QByteArray plain = JpegFixture::jpeg({});
    const std::vector<unsigned char> file = ExifBuilder::withApp1(
        std::vector<unsigned char>(plain.begin(), plain.end()), builder.payload());
    ASSERT_FALSE(file.empty());
    ASSERT_TRUE(
        TestFiles::write(path("flash.jpg"), QByteArray(reinterpret_cast<const char*>(file.data()),
                                                       qsizetype(file.size()))));

    const QList<InfoPanelRows::Row> info =
        InfoPanelRows().rowsForItem(path("flash.jpg"), BrowserItemTypeImage);
    EXPECT_EQ(labels(info), localized({"Filename", "File size", "Taken on", "Dimensions",
                                       "ISO Rating", "Flash", "Camera Make"}));
    EXPECT_EQ(valueOf(info, "ISO Rating"), "400");
    EXPECT_EQ(valueOf(info, "Flash"), Exif(path("flash.jpg")).getTagValue(0x9209));
}

TEST_F(InfoPanelRowsTest, OnlyASingleImageOrMovieHasRows) {
    JpegFixture::Options options;
    ASSERT_TRUE(JpegFixture::write(path("one.jpg"), options));
    ASSERT_TRUE(JpegFixture::write(path("two.jpg"), options));
    ASSERT_TRUE(QDir(m_folder.path()).mkdir("folder"));
    const auto one = std::make_shared<BrowserItem>(path("one.jpg"), BrowserItemTypeImage);
    const auto two = std::make_shared<BrowserItem>(path("two.jpg"), BrowserItemTypeImage);
    const auto folder = std::make_shared<BrowserItem>(path("folder"), BrowserItemTypeFolder);
    const InfoPanelRows rows;
    EXPECT_TRUE(rows.rowsForSelection({}).isEmpty());
    EXPECT_TRUE(rows.rowsForSelection({folder}).isEmpty());
    EXPECT_TRUE(rows.rowsForSelection({one, two}).isEmpty());
    EXPECT_TRUE(rows.rowsForSelection({one, folder}).isEmpty());
    EXPECT_FALSE(rows.rowsForSelection({one}).isEmpty());
}

TEST_F(InfoPanelRowsTest, AnUnreadableImageGivesOnlyTheRowsThatNeedNoContent) {
    ASSERT_TRUE(TestFiles::write(path("broken.jpg"), QByteArray()));
    const QList<InfoPanelRows::Row> empty =
        InfoPanelRows().rowsForItem(path("broken.jpg"), BrowserItemTypeImage);
    EXPECT_EQ(labels(empty), localized({"Filename", "Taken on"}));

    const QList<InfoPanelRows::Row> missing =
        InfoPanelRows().rowsForItem(path("gone.jpg"), BrowserItemTypeImage);
    EXPECT_EQ(labels(missing), localized({"Filename", "Taken on"}));
    EXPECT_FALSE(valueOf(missing, "Taken on").isEmpty());
}

TEST_F(InfoPanelRowsTest, MovieRowsComeFromItsMetadataAndLeaveOutWhatItDoesNotTell) {
    ASSERT_TRUE(TestFiles::write(path("clip.avi"), QByteArray(2048, 'm')));
    const QStringList fileRows = localized({"Filename", "File size", "Taken on"});
    const QString bits = localizedString("bits/sec");

    MovieMetadata full;
    full.pixelWidth = 1920;
    full.pixelHeight = 1080;
    full.durationSeconds = 75.9;
    full.codecs = {"h264", "aac"};
    full.videoBitRate = 2'500'000;
    full.audioBitRate = 128'000;
    MovieMetadata noCodecs = full;
    noCodecs.codecs.clear();
    noCodecs.audioBitRate.reset();
    MovieMetadata widthOnly;
    widthOnly.pixelWidth = 640;
    widthOnly.durationSeconds = 3725;

    const struct {
        const char* name;
        MovieMetadata metadata;
        QList<InfoPanelRows::Row> expected; // after the file rows
    } cases[] = {
        {"everything",
         full,
         {{localizedString("Dimensions"), "1920 x 1080"},
          {localizedString("Duration"), "1:15"},
          {localizedString("Codecs"), "h264\naac"},
          {localizedString("Video Bitrate"), "2.5 M" + bits},
          {localizedString("Audio Bitrate"), "128 K" + bits}}},
        {"no codec metadata",
         noCodecs,
         {{localizedString("Dimensions"), "1920 x 1080"},
          {localizedString("Duration"), "1:15"},
          {localizedString("Video Bitrate"), "2.5 M" + bits}}},
        {"a width without a height", widthOnly, {{localizedString("Duration"), "1:2:5"}}},
        {"nothing", MovieMetadata{}, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        QStringList asked;
        const InfoPanelRows rows([&](const QString& movie) {
            asked << movie;
            return c.metadata;
        });
        const QList<InfoPanelRows::Row> info =
            rows.rowsForItem(path("clip.avi"), BrowserItemTypeMovie);
        EXPECT_EQ(asked, QStringList{path("clip.avi")});
        ASSERT_GE(info.size(), 3);
        EXPECT_EQ(labels(info.mid(0, 3)), fileRows);
        EXPECT_EQ(info.mid(3), c.expected);
    }
}

TEST_F(InfoPanelRowsTest, DatesReadAsMediumDateAndShortTime) {
    const QDateTime date(QDate(2024, 3, 7), QTime(9, 41));
    const QString english =
        InfoPanelRows::formattedDate(date, QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_TRUE(english.startsWith("Mar 7, 2024 9:41")) << english.toStdString();
    const QString german =
        InfoPanelRows::formattedDate(date, QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(german, "7. März 2024 09:41");
    EXPECT_TRUE(InfoPanelRows::formattedDate(QDateTime()).isEmpty());
}

} // namespace

// RAW rows come from libraw, HEIC rows from the file's EXIF item; both with
// their capture date.
TEST_F(InfoPanelRowsTest, RawAndHeicRowsComeFromTheirOwnMetadata) {
    const QDateTime taken(QDate(2022, 2, 3), QTime(4, 5, 6));
    ASSERT_TRUE(DngFixture::write(path("raw.dng"), {.orientation = 6, .taken = taken}));
    const QList<InfoPanelRows::Row> raw =
        InfoPanelRows().rowsForItem(path("raw.dng"), BrowserItemTypeImage);
    EXPECT_EQ(labels(raw),
              localized({"Filename", "File size", "Taken on", "Dimensions", "Exposure", "F-Number",
                         "Focal length", "ISO Rating", "Camera Make", "Camera Model"}));
    EXPECT_EQ(valueOf(raw, "Taken on"), InfoPanelRows::formattedDate(taken));
    EXPECT_EQ(valueOf(raw, "Dimensions"), "192 x 256");
    EXPECT_EQ(valueOf(raw, "Exposure"), "1/125 sec.");
    EXPECT_EQ(valueOf(raw, "F-Number"), "f/2.8");
    EXPECT_EQ(valueOf(raw, "Focal length"), "50.0 mm");
    EXPECT_EQ(valueOf(raw, "ISO Rating"), "200");
    EXPECT_EQ(valueOf(raw, "Camera Model"), "Fixture One");

    QString reason;
    if (!HeifFixture::canEncode(&reason))
        GTEST_SKIP() << "HEIC rows: " << reason.toStdString();
    ASSERT_TRUE(HeifFixture::write(path("phone.heic"),
                                   {.size = {64, 32}, .taken = taken, .make = "Zentrovo"}));
    const QList<InfoPanelRows::Row> heic =
        InfoPanelRows().rowsForItem(path("phone.heic"), BrowserItemTypeImage);
    EXPECT_EQ(valueOf(heic, "Taken on"), InfoPanelRows::formattedDate(taken));
    EXPECT_EQ(valueOf(heic, "Dimensions"), "64 x 32");
    EXPECT_EQ(valueOf(heic, "Camera Make"), "Zentrovo");
}
