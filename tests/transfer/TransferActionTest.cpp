// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/TransferAction.h"
#include "camera/CameraDriveFile.h"
#include "camera/TransferMode.h"

#include "FileUtils.h"
#include "JpegFixture.h"
#include "PrivateSettings.h"
#include "TestFiles.h"
#include "settings/SettingsKeys.h"

#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QImage rawPixels(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    return reader.read();
}

bool near(QColor a, QColor b) {
    return qAbs(a.red() - b.red()) < 40 && qAbs(a.green() - b.green()) < 40 &&
           qAbs(a.blue() - b.blue()) < 40;
}

class TransferActionTest : public ::testing::Test {
protected:
    QString makeSource(const QString& name, const JpegFixture::Options& options) {
        const QString path = m_card.path() + QStringLiteral("/DCIM/") + name;
        EXPECT_TRUE(JpegFixture::write(path, options));
        FileUtils::setModificationDate(m_modified, path);
        return path;
    }
    void setRotate(bool rotate) {
        m_settings.store.setBool(rotate, QLatin1String(SettingsKeys::transfer_rotate));
    }
    QTemporaryDir m_card;
    QTemporaryDir m_dest;
    PrivateSettings m_settings;
    const QDateTime m_modified{QDate(2011, 4, 3), QTime(10, 20, 30)};
};

TEST_F(TransferActionTest, TurnedJpegArrivesUprightWithSourceDate) {
    setRotate(true);
    JpegFixture::Options options;
    options.orientation = 6; // shown after a quarter turn clockwise
    options.digitized = QDateTime(QDate(2012, 5, 7), QTime(9, 0));
    const QString source = makeSource(QStringLiteral("IMG_0001.JPG"), options);
    const QString destination = m_dest.path() + QStringLiteral("/new/folder/IMG_0001.JPG");

    TransferAction action(TransferModeCopy, std::make_shared<CameraDriveFile>(source, true),
                          destination, m_settings.store);
    EXPECT_EQ(action.bytes(), QFileInfo(source).size());
    ASSERT_TRUE(action.process());

    const QImage upright = rawPixels(destination);
    ASSERT_EQ(upright.size(), QSize(32, 64));
    // The left (red) half of the stored picture is now on top.
    EXPECT_TRUE(near(upright.pixelColor(16, 8), Qt::red));
    EXPECT_TRUE(near(upright.pixelColor(16, 56), Qt::blue));
    EXPECT_EQ(QImageReader(destination).transformation(), QImageIOHandler::TransformationNone);
    EXPECT_EQ(FileUtils::getModificationDateForFile(destination), m_modified);
    EXPECT_EQ(rawPixels(source).size(), QSize(64, 32));
}

TEST_F(TransferActionTest, RotationOffOrNotAJpegLeavesTheBytesAlone) {
    JpegFixture::Options options;
    options.orientation = 6;
    const QString jpeg = makeSource(QStringLiteral("a.jpg"), options);
    const QString png = m_card.path() + QStringLiteral("/DCIM/b.png");
    ASSERT_TRUE(QImage(8, 4, QImage::Format_RGB32).save(png));

    setRotate(false);
    TransferAction off(TransferModeCopy, std::make_shared<CameraDriveFile>(jpeg, true),
                       m_dest.path() + QStringLiteral("/a.jpg"), m_settings.store);
    ASSERT_TRUE(off.process());
    EXPECT_EQ(TestFiles::read(m_dest.path() + QStringLiteral("/a.jpg")), TestFiles::read(jpeg));

    // The command line's choice wins over the setting.
    setRotate(true);
    TransferAction overridden(TransferModeCopy, std::make_shared<CameraDriveFile>(jpeg, true),
                              m_dest.path() + QStringLiteral("/c.jpg"), m_settings.store);
    overridden.setRotateOverride(false);
    ASSERT_TRUE(overridden.process());
    EXPECT_EQ(TestFiles::read(m_dest.path() + QStringLiteral("/c.jpg")), TestFiles::read(jpeg));

    TransferAction picture(TransferModeCopy, std::make_shared<CameraDriveFile>(png, true),
                           m_dest.path() + QStringLiteral("/b.png"), m_settings.store);
    ASSERT_TRUE(picture.process());
    EXPECT_EQ(TestFiles::read(m_dest.path() + QStringLiteral("/b.png")), TestFiles::read(png));
}

TEST_F(TransferActionTest, FolderThatCannotBeMadeFailsWithoutTouchingTheSource) {
    const QString source = makeSource(QStringLiteral("a.jpg"), {});
    // A plain file where a folder would have to be: even root cannot.
    ASSERT_TRUE(TestFiles::write(m_dest.path() + QStringLiteral("/blocked"), "file"));
    TransferAction action(TransferModeMove, std::make_shared<CameraDriveFile>(source, true),
                          m_dest.path() + QStringLiteral("/blocked/2012/a.jpg"), m_settings.store);
    EXPECT_FALSE(action.process());
    EXPECT_TRUE(QFileInfo::exists(source));
    EXPECT_FALSE(TransferAction(TransferModeCopy, nullptr, m_dest.path() + QStringLiteral("/x"),
                                m_settings.store)
                     .process());
}

} // namespace
