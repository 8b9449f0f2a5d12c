// SPDX-License-Identifier: GPL-3.0-or-later
#include "DirectoryCamera.h"
#include "TestFiles.h"

#include "camera/CameraDevice.h"
#include "camera/CameraDeviceDelegate.h"
#include "camera/CameraDeviceFile.h"
#include "camera/CameraThumbnailDelegate.h"
#include "camera/TransferMode.h"
#include "camera/gphoto/GPhotoDevice.h"

#include <QFileInfo>
#include <QFuture>
#include <QTemporaryDir>
#include <QTest>
#include <QtConcurrent>

#include <gtest/gtest.h>

namespace {

constexpr int kWait = 30000;

struct ReadyRecorder : CameraDeviceDelegate {
    QList<CameraDevice*> ready;
    void cameraDeviceBecomeReady(CameraDevice* camera) override { ready.append(camera); }
};

struct ThumbnailRecorder : CameraThumbnailDelegate {
    QList<GPhotoFile*> files;
    void cameraFileThumbnailBecomeReady(GPhotoFile* file) override { files.append(file); }
};

// Camera diagnostics written while alive.
class LogCapture {
public:
    LogCapture() {
        lines().clear();
        m_previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext& context, const QString& message) {
                if (QByteArray(context.category) == "pixhaul.camera")
                    lines().append(message);
            });
    }
    ~LogCapture() { qInstallMessageHandler(m_previous); }
    static QStringList& lines() {
        static QStringList captured;
        return captured;
    }

private:
    QtMessageHandler m_previous = nullptr;
};

// Runs `work` on a worker, as the transfer run does, while the main thread
// delivers the device's answers.
template <typename Work> auto onWorker(Work work) {
    QFuture<decltype(work())> future = QtConcurrent::run(work);
    EXPECT_TRUE(QTest::qWaitFor([&] { return future.isFinished(); }, kWait));
    return future.result();
}

class CameraDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_folder.isValid() && m_target.isValid());
        m_taken = QDateTime(QDate(2023, 8, 1), QTime(9, 15, 0));
        ASSERT_TRUE(m_folder.add(QStringLiteral("DCIM/100TEST/IMG_0001.JPG"),
                                 DirectoryCamera::jpeg(320, 240, Qt::yellow, 80), m_taken));
        ASSERT_TRUE(m_folder.add(QStringLiteral("DCIM/100TEST/IMG_0001.THM"),
                                 DirectoryCamera::jpeg(16, 12, Qt::yellow)));
        ASSERT_TRUE(
            m_folder.add(QStringLiteral("DCIM/100TEST/MVI_0002.MOV"), QByteArray(4096, 'v')));
        m_camera.setDeviceDelegate(&m_readiness);
        m_camera.setThumbnailDelegate(&m_thumbnails);
        m_camera.openDevice(GPhotoDevice::create(m_folder.info()));
        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_readiness.ready.isEmpty(); }, kWait));
    }

    std::shared_ptr<CameraDeviceFile> listed(int index) {
        return std::dynamic_pointer_cast<CameraDeviceFile>(
            m_camera.getFilesButImagesOnly(true, false).value(index));
    }

    DirectoryCamera m_folder;
    QTemporaryDir m_target;
    QDateTime m_taken;
    ReadyRecorder m_readiness;
    ThumbnailRecorder m_thumbnails;
    CameraDevice m_camera;
};

} // namespace

TEST_F(CameraDeviceTest, ReadyCameraListsPicturesAndMoviesEvenWhenImagesOnlyIsAsked) {
    EXPECT_EQ(m_readiness.ready, QList<CameraDevice*>{&m_camera});
    EXPECT_EQ(m_camera.title(), QStringLiteral("Directory Browse"));
    const QList<CameraFilePtr> files = m_camera.getFilesButImagesOnly(true, false);
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(files.at(0)->title(), QStringLiteral("IMG_0001.JPG"));
    EXPECT_EQ(files.at(1)->title(), QStringLiteral("MVI_0002.MOV"));
    EXPECT_EQ(files.at(1)->fileSize(), 4096);
    EXPECT_EQ(files.at(0)->creationDate(), m_taken);
    EXPECT_EQ(m_camera.getFilesButImagesOnly(false, true).size(), 1);
}

TEST_F(CameraDeviceTest, IsComparesIdentityNotEquality) {
    const auto first = listed(0);
    const auto again = listed(0);
    ASSERT_TRUE(first && again);
    EXPECT_NE(first, again);
    EXPECT_TRUE(again->is(first->cameraFile().get()));
    const GPhotoFile lookalike(first->cameraFile()->folder(), first->cameraFile()->name(),
                               first->fileSize(), first->modificationDate(), QString(), {});
    EXPECT_FALSE(first->is(&lookalike));
    EXPECT_FALSE(first->is(listed(1)->cameraFile().get()));
}

TEST_F(CameraDeviceTest, CopyAndMoveRunSynchronouslyOnTheWorker) {
    const auto picture = listed(0);
    const QString copied = m_target.filePath(QStringLiteral("copy/IMG_0001.JPG"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(copied).absolutePath()));
    EXPECT_TRUE(onWorker([&] { return picture->transferFileTo(copied, TransferModeCopy); }));
    EXPECT_EQ(TestFiles::read(copied),
              TestFiles::read(m_folder.path(QStringLiteral("DCIM/100TEST/IMG_0001.JPG"))));
    EXPECT_TRUE(QFileInfo::exists(m_target.filePath(QStringLiteral("copy/IMG_0001.THM"))));

    // A second copy over the first is refused unless replacing is asked for.
    EXPECT_FALSE(onWorker([&] { return picture->transferFileTo(copied, TransferModeCopy); }));
    EXPECT_TRUE(onWorker([&] { return picture->transferFileTo(copied, TransferModeCopy, true); }));

    const auto movie = listed(1);
    const QString moved = m_target.filePath(QStringLiteral("MVI_0002.MOV"));
    EXPECT_TRUE(onWorker([&] { return movie->transferFileTo(moved, TransferModeMove); }));
    EXPECT_EQ(QFileInfo(moved).size(), 4096);
    EXPECT_FALSE(QFileInfo::exists(m_folder.path(QStringLiteral("DCIM/100TEST/MVI_0002.MOV"))));
    EXPECT_EQ(m_camera.getFilesButImagesOnly(false, false).size(), 1);
    EXPECT_TRUE(QFileInfo::exists(m_folder.path(QStringLiteral("DCIM/100TEST/IMG_0001.JPG"))));
}

TEST_F(CameraDeviceTest, FailedAndInterruptedRequestsAnswerFalseWithOneLogLine) {
    const auto movie = listed(1);
    ASSERT_TRUE(QDir(m_folder.path(QStringLiteral("DCIM"))).removeRecursively());
    {
        LogCapture log;
        EXPECT_FALSE(onWorker([&] {
            return movie->transferFileTo(m_target.filePath(QStringLiteral("MVI_0002.MOV")),
                                         TransferModeMove);
        }));
        ASSERT_EQ(LogCapture::lines().size(), 1) << LogCapture::lines().join(u'|').toStdString();
        EXPECT_FALSE(LogCapture::lines().at(0).contains(u'\n'));
    }
    EXPECT_FALSE(QFileInfo::exists(m_target.filePath(QStringLiteral("MVI_0002.MOV"))));

    // A removal while the worker waits ends the wait with an error.
    const auto picture = listed(0);
    QAtomicInt asked = 0;
    QFuture<bool> waiting =
        QtConcurrent::run([&] { return picture->requestSync([&] { asked = 1; }); });
    ASSERT_TRUE(QTest::qWaitFor([&] { return asked.loadAcquire() == 1; }, kWait));
    picture->didRemoveDevice(nullptr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return waiting.isFinished(); }, kWait));
    EXPECT_FALSE(waiting.result());

    // Never waits on the main thread, where the answer would have to come from.
    EXPECT_FALSE(picture->requestSync([] {}));
}

TEST_F(CameraDeviceTest, RemovedDeviceIsDroppedAndFailsTransfersOfListedFiles) {
    const auto picture = listed(0);
    const std::shared_ptr<GPhotoDevice> device = m_camera.cameraDevice();
    device->deviceWasRemoved();
    EXPECT_FALSE(m_camera.cameraDevice());
    EXPECT_TRUE(m_camera.title().isEmpty());
    EXPECT_TRUE(m_camera.getFilesButImagesOnly(false, false).isEmpty());
    EXPECT_FALSE(onWorker([&] {
        return picture->transferFileTo(m_target.filePath(QStringLiteral("IMG_0001.JPG")),
                                       TransferModeCopy);
    }));
    EXPECT_FALSE(QFileInfo::exists(m_target.filePath(QStringLiteral("IMG_0001.JPG"))));
}

TEST_F(CameraDeviceTest, ThumbnailArrivesLaterAndIsForwarded) {
    const auto picture = listed(0);
    EXPECT_TRUE(picture->thumbnail().isNull());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_thumbnails.files.isEmpty(); }, kWait));
    EXPECT_TRUE(picture->is(m_thumbnails.files.at(0)));
    EXPECT_EQ(picture->thumbnail().width(), 80);
}
