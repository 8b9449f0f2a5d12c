// SPDX-License-Identifier: GPL-3.0-or-later
// pixhaul-batch run as a separate process.
#include "JpegFixture.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <csignal>

namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
};

class BatchCommandTest : public ::testing::Test {
protected:
    Result run(const QStringList& arguments) {
        QProcess process;
        process.start(QStringLiteral(PIXHAUL_BATCH_PROGRAM), arguments);
        EXPECT_TRUE(process.waitForStarted());
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(120000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    QString picture(const QString& name, const QSize& size = QSize(120, 80)) {
        JpegFixture::Options options;
        options.size = size;
        const QString path = m_in.filePath(name);
        EXPECT_TRUE(JpegFixture::write(path, options));
        return path;
    }

    QTemporaryDir m_in;
    QTemporaryDir m_out;
};

TEST_F(BatchCommandTest, AllWrittenExitsWithZero) {
    const Result result = run({"--resize-pixels", "60", "--format", "png", "--suffix", "-s",
                               "--dest", m_out.path(), picture("a.JPG"), picture("b.JPG")});
    EXPECT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_TRUE(result.out.contains(QLatin1String("2 picture(s) written")));
    EXPECT_EQ(QImageReader(m_out.filePath(QStringLiteral("a-s.PNG"))).size(), QSize(60, 40));
    EXPECT_TRUE(QFileInfo::exists(m_out.filePath(QStringLiteral("b-s.PNG"))));
}

TEST_F(BatchCommandTest, FailuresAreNamedAndExitWithOne) {
    const QString broken = m_in.filePath(QStringLiteral("broken.jpg"));
    ASSERT_TRUE(TestFiles::write(broken, "not a picture"));
    const QString missing = m_in.filePath(QStringLiteral("missing.jpg"));
    const Result result = run({"--dest", m_out.path(), picture("good.jpg"), broken, missing});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.out.contains(QLatin1String("1 picture(s) written")))
        << result.out.toStdString();
    EXPECT_TRUE(result.out.contains(QStringLiteral("Failed: ") + broken));
    EXPECT_TRUE(result.err.contains(missing + QStringLiteral(": no such file")));
    EXPECT_TRUE(QFileInfo::exists(m_out.filePath(QStringLiteral("good resized.jpg"))));
}

TEST_F(BatchCommandTest, UsageErrorsExitWithTwo) {
    const QString good = picture("good.jpg");
    for (const QStringList& arguments :
         {QStringList{}, QStringList{"--resize-pixels", "10", "--resize-percent", "5", good},
          QStringList{"--dest", m_out.filePath(QStringLiteral("nowhere")), good},
          QStringList{m_in.filePath(QStringLiteral("missing.jpg"))},
          QStringList{"--format", "bmp", good}}) {
        const Result result = run(arguments);
        EXPECT_EQ(result.status, 2) << arguments.join(u' ').toStdString();
        EXPECT_FALSE(result.err.isEmpty());
    }
    EXPECT_TRUE(QDir(m_out.path()).isEmpty());
}

TEST_F(BatchCommandTest, CtrlCStopsAfterThePictureInHandWithOneHundredThirty) {
    QStringList arguments{"--resize-percent", "50", "--dest", m_out.path()};
    for (int i = 0; i < 40; ++i)
        arguments << picture(QStringLiteral("%1.jpg").arg(i, 2, 10, QLatin1Char('0')),
                             QSize(800, 600));
    QProcess process;
    process.start(QStringLiteral(PIXHAUL_BATCH_PROGRAM), arguments);
    ASSERT_TRUE(process.waitForStarted());
    // Interrupted once the first picture is in place.
    while (QDir(m_out.path()).isEmpty() && process.state() == QProcess::Running)
        QThread::msleep(5);
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitCode(), 130);
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    EXPECT_TRUE(out.contains(QLatin1String("Stopped:"))) << out.toStdString();
    EXPECT_LT(QDir(m_out.path()).entryList(QDir::Files | QDir::Hidden).size(), 40);
}

} // namespace
