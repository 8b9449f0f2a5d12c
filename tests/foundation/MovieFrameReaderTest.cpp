// SPDX-License-Identifier: GPL-3.0-or-later
#include "MovieFrameReader.h"
#include "MovieFixture.h"
#include "SystemUtils.h"
#include "TestFiles.h"

#include <QColor>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

bool reddish(QRgb pixel) {
    return qRed(pixel) > 150 && qBlue(pixel) < 110;
}

bool bluish(QRgb pixel) {
    return qBlue(pixel) > 150 && qRed(pixel) < 110;
}

class MovieFrameReaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid());
        m_movie = m_folder.filePath(QStringLiteral("clip.avi"));
        QString reason;
        if (!MovieFixture::writeTwoColourMovie(m_movie, QSize(64, 48), 30, 10, &reason))
            GTEST_SKIP() << "cannot encode a test movie: " << reason.toStdString();
    }

    QTemporaryDir m_folder;
    QString m_movie;
};

} // namespace

TEST_F(MovieFrameReaderTest, ReadsDetailsAndAFrameScaledToFit) {
    MovieFrameReader reader(m_movie);
    ASSERT_TRUE(reader.isValid());
    EXPECT_EQ(reader.frameSize(), QSize(64, 48));
    EXPECT_GT(reader.durationMilliseconds(), 2000);
    EXPECT_FALSE(reader.videoCodecName().isEmpty());
    EXPECT_TRUE(reader.audioCodecName().isEmpty());

    const QImage frame = reader.frameNearStart(QSize(32, 32));
    ASSERT_FALSE(frame.isNull());
    EXPECT_EQ(frame.size(), QSize(32, 24));
    EXPECT_TRUE(reddish(frame.pixel(6, 12))) << std::hex << frame.pixel(6, 12);
    EXPECT_TRUE(bluish(frame.pixel(26, 12))) << std::hex << frame.pixel(26, 12);
    // Asked again, the reader seeks again and still answers.
    EXPECT_EQ(reader.frameNearStart().size(), QSize(64, 48));
}

TEST_F(MovieFrameReaderTest, PreviewOfAMovieIsItsFrame) {
    const QImage preview = SystemUtils::imageWithPreviewOfFileAtPath(m_movie, QSize(32, 32), false);
    ASSERT_EQ(preview.size(), QSize(32, 24));
    EXPECT_TRUE(reddish(preview.pixel(6, 12)));
}

TEST(MovieFrameReader, DamagedOrMissingFilesGiveNothing) {
    QTemporaryDir folder;
    const QString junk = folder.filePath(QStringLiteral("junk.mov"));
    ASSERT_TRUE(TestFiles::write(junk, QByteArray(4096, '\x5a')));
    MovieFrameReader damaged(junk);
    EXPECT_FALSE(damaged.isValid());
    EXPECT_TRUE(damaged.frameNearStart(QSize(32, 32)).isNull());
    EXPECT_TRUE(damaged.frameSize().isEmpty());

    MovieFrameReader missing(folder.filePath(QStringLiteral("none.mp4")));
    EXPECT_FALSE(missing.isValid());
    EXPECT_EQ(missing.durationMilliseconds(), 0);
}
