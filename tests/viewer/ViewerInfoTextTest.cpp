// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/ViewerInfoText.h"
#include "ExifBuilder.h"
#include "FakeDrawingView.h"
#include "JpegFixture.h"
#include "TestFiles.h"
#include "viewer/GLDrawingImage.h"

#include <QDate>
#include <QLocale>
#include <QTemporaryDir>

#include <libexif/exif-utils.h>

#include <gtest/gtest.h>

namespace {

// EXIF values of a shot; a zero denominator or ISO leaves the tag out.
struct Shot {
    ExifRational exposure{0, 0}, fNumber{0, 0}, focalLength{0, 0};
    int iso = 0;
    const char* digitized = nullptr;
};

class ViewerInfoTextTest : public testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(m_locale); }

    // A small JPEG carrying `shot` in its EXIF block.
    QString writeShot(const Shot& shot) {
        ExifBuilder exif;
        for (const auto& [tag, value] : {std::pair(EXIF_TAG_EXPOSURE_TIME, shot.exposure),
                                         std::pair(EXIF_TAG_FNUMBER, shot.fNumber),
                                         std::pair(EXIF_TAG_FOCAL_LENGTH, shot.focalLength)}) {
            unsigned char bytes[8];
            exif_set_rational(bytes, EXIF_BYTE_ORDER_INTEL, value);
            if (value.denominator)
                exif.addEntry(EXIF_IFD_EXIF, tag, EXIF_FORMAT_RATIONAL, bytes, 1, sizeof bytes);
        }
        if (shot.iso)
            exif.addShort(EXIF_IFD_EXIF, EXIF_TAG_ISO_SPEED_RATINGS, shot.iso);
        if (shot.digitized)
            exif.addText(EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_DIGITIZED, shot.digitized);
        const QByteArray plain = JpegFixture::jpeg({});
        const std::vector<unsigned char> jpeg = ExifBuilder::withApp1(
            std::vector<unsigned char>(plain.begin(), plain.end()), exif.payload());
        const QString path = m_folder.filePath(QStringLiteral("%1.jpg").arg(++m_shots));
        EXPECT_TRUE(TestFiles::write(
            path, QByteArray(reinterpret_cast<const char*>(jpeg.data()), qsizetype(jpeg.size()))));
        return path;
    }

    QTemporaryDir m_folder;

private:
    QLocale m_locale;
    int m_shots = 0;
};

QStringList lines(const QString& text) {
    return text.split(u'\n');
}

} // namespace

TEST_F(ViewerInfoTextTest, LevelsOfAPictureWithoutExif) {
    // 2 KB that are no picture, so no EXIF data either.
    const QString path = m_folder.filePath(QStringLiteral("plain.jpg"));
    ASSERT_TRUE(TestFiles::write(path, QByteArray(2048, 'x')));
    FakeDrawingView view({1440, 900});
    GLDrawingImage image(blankImage(3000, 2000), path, &view);
    image.setZoom(0.25, false);

    const QString pixels = path + QStringLiteral("\n3000 x 2000 pixels (Zoom x0.25), 2 KB");
    const struct {
        int level;
        bool gl;
        QString expected;
    } cases[] = {
        {0, false, QString()},
        {1, false, path},
        {2, false, pixels},
        {2, true, path + QStringLiteral("\n3000 x 2000 pixels (Zoom x0.250), 2 KB")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "level " << c.level << (c.gl ? " GL" : ""));
        EXPECT_EQ(ViewerInfoText::text(image, c.level, c.gl), c.expected);
    }

    // The file's creation date (just now) stands in for the date taken;
    // there is no shooting line.
    const QStringList level3 = lines(ViewerInfoText::text(image, 3, false));
    ASSERT_EQ(level3.size(), 3);
    EXPECT_EQ(level3.mid(0, 2), lines(pixels));
    EXPECT_TRUE(level3.at(2).contains(QString::number(QDate::currentDate().year())));
}

TEST_F(ViewerInfoTextTest, ShootingLineIsTheFourth) {
    const ExifRational exposure{1, 125}, fNumber{28, 10}, focalLength{50, 1};
    const struct {
        Shot shot;
        QString expected;
    } cases[] = {
        // Without its value the ISO label goes too.
        {{exposure, fNumber, focalLength}, QStringLiteral("1/125 sec. f/2.8 50.0 mm")},
        {{exposure, fNumber, focalLength, 100}, QStringLiteral("1/125 sec. f/2.8 ISO100 50.0 mm")},
        {{.iso = 400}, QStringLiteral("ISO400")},
        {{.digitized = "2011:03:05 15:04:05"}, QString()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        GLDrawingImage image(blankImage(64, 32), writeShot(c.shot), nullptr);
        const QStringList level3 = lines(ViewerInfoText::text(image, 3, true));
        EXPECT_EQ(level3.mid(3), c.expected.isEmpty() ? QStringList() : QStringList{c.expected});
    }
}

TEST_F(ViewerInfoTextTest, DateTakenInTheUsersLocale) {
    const QString path = writeShot({.digitized = "2011:03:05 15:04:05"});
    const struct {
        QLocale locale;
        QString expected;
    } cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates),
         QStringLiteral("Saturday, March 5, 2011 3:04:05 PM")},
        // Every word capitalised, month names included.
        {QLocale(QLocale::French, QLocale::France), QStringLiteral("Samedi 5 Mars 2011 15:04:05")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        QLocale::setDefault(c.locale);
        GLDrawingImage image(blankImage(64, 32), path, nullptr);
        EXPECT_EQ(lines(ViewerInfoText::text(image, 3, false)).at(2), c.expected);
    }
}
