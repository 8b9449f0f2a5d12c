// SPDX-License-Identifier: GPL-3.0-or-later
// pixhaul-import run as a separate process on a "Directory Browse" camera.
#include "DirectoryCamera.h"
#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct Result {
    int status = -1;
    QString out;
    QString err;
};

Result runImport(const QStringList& arguments) {
    QProcess process;
    process.start(QStringLiteral(PIXHAUL_IMPORT_PROGRAM), arguments);
    process.closeWriteChannel();
    EXPECT_TRUE(process.waitForFinished(120000));
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()),
            QString::fromLocal8Bit(process.readAllStandardError())};
}

class ImportCameraTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_camera.isValid() && m_target.isValid());
        const QDateTime first(QDate(2021, 3, 4), QTime(10, 0));
        const QDateTime second(QDate(2021, 3, 5), QTime(11, 0));
        ASSERT_TRUE(m_camera.add(QStringLiteral("DCIM/100TEST/IMG_A.JPG"),
                                 DirectoryCamera::jpeg(40, 30, Qt::red), first));
        ASSERT_TRUE(m_camera.add(QStringLiteral("DCIM/100TEST/IMG_B.JPG"),
                                 DirectoryCamera::jpeg(40, 30, Qt::blue), second));
        ASSERT_TRUE(m_camera.add(QStringLiteral("DCIM/100TEST/IMG_B.THM"),
                                 DirectoryCamera::jpeg(8, 6, Qt::blue), second));
        ASSERT_TRUE(
            m_camera.add(QStringLiteral("DCIM/100TEST/MVI_C.MOV"), QByteArray(3000, 'c'), second));
    }

    QStringList arguments(const QString& mode) const {
        return {QStringLiteral("--camera"),
                m_camera.info().identifier(),
                QStringLiteral("--dest"),
                m_target.path() + QStringLiteral("/%Y-%m-%d"),
                mode,
                QStringLiteral("--no-rotate"),
                QStringLiteral("--overwrite"),
                QStringLiteral("skip")};
    }

    QString arrived(const QString& relative) const { return m_target.filePath(relative); }

    DirectoryCamera m_camera;
    QTemporaryDir m_target;
};

} // namespace

TEST_F(ImportCameraTest, CopyFromADeviceCameraIntoDatedFolders) {
    const Result result = runImport(arguments(QStringLiteral("--copy")));
    ASSERT_EQ(result.status, 0) << result.err.toStdString() << result.out.toStdString();
    EXPECT_TRUE(result.out.contains(QStringLiteral("3 file(s) transferred")))
        << result.out.toStdString();
    EXPECT_EQ(TestFiles::read(arrived(QStringLiteral("2021-03-04/IMG_A.JPG"))),
              TestFiles::read(m_camera.path(QStringLiteral("DCIM/100TEST/IMG_A.JPG"))));
    EXPECT_TRUE(QFileInfo::exists(arrived(QStringLiteral("2021-03-05/IMG_B.JPG"))));
    EXPECT_TRUE(QFileInfo::exists(arrived(QStringLiteral("2021-03-05/IMG_B.THM"))));
    EXPECT_EQ(QFileInfo(arrived(QStringLiteral("2021-03-05/MVI_C.MOV"))).size(), 3000);
    EXPECT_EQ(QFileInfo(arrived(QStringLiteral("2021-03-04/IMG_A.JPG"))).lastModified(),
              QDateTime(QDate(2021, 3, 4), QTime(10, 0)));
    EXPECT_TRUE(QFileInfo::exists(m_camera.path(QStringLiteral("DCIM/100TEST/IMG_A.JPG"))));
}

TEST_F(ImportCameraTest, MoveEmptiesTheDeviceOfWhatArrived) {
    const Result result = runImport(arguments(QStringLiteral("--move")));
    ASSERT_EQ(result.status, 0) << result.err.toStdString();
    EXPECT_TRUE(QFileInfo::exists(arrived(QStringLiteral("2021-03-04/IMG_A.JPG"))));
    EXPECT_TRUE(QFileInfo::exists(arrived(QStringLiteral("2021-03-05/MVI_C.MOV"))));
    EXPECT_TRUE(QDir(m_camera.path(QStringLiteral("DCIM/100TEST"))).isEmpty());
}

TEST_F(ImportCameraTest, ListingAndBadCameraArguments) {
    const Result listing = runImport({QStringLiteral("--list-cameras")});
    EXPECT_EQ(listing.status, 0) << listing.err.toStdString();
    EXPECT_FALSE(listing.out.isEmpty());

    EXPECT_EQ(runImport({QStringLiteral("--camera"), QStringLiteral("no port")}).status, 2);
    const Result missing =
        runImport({QStringLiteral("--camera"),
                   QStringLiteral("Directory Browse@disk:") + m_camera.path(QStringLiteral("gone")),
                   QStringLiteral("--dest"), m_target.path()});
    EXPECT_EQ(missing.status, 2);
    EXPECT_FALSE(missing.err.isEmpty());
    EXPECT_EQ(runImport({QStringLiteral("--camera"), m_camera.info().identifier(), m_camera.root()})
                  .status,
              2);
}
