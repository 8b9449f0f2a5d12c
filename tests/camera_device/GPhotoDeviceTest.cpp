// SPDX-License-Identifier: GPL-3.0-or-later
#include "DirectoryCamera.h"
#include "TestFiles.h"

#include "camera/gphoto/GPhotoDevice.h"
#include "camera/gphoto/GPhotoDeviceBrowser.h"
#include "camera/gphoto/GPhotoDeviceDelegate.h"
#include "camera/gphoto/GPhotoDownloadDelegate.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

constexpr int kWait = 30000;

struct RecordingDeviceDelegate : GPhotoDeviceDelegate {
    int ready = 0;
    int opened = 0;
    int removed = 0;
    QString openError;
    QList<GPhotoFile*> thumbnails;
    void deviceDidBecomeReady(GPhotoDevice*) override { ++ready; }
    void didOpenSessionWithError(GPhotoDevice*, const QString& error) override {
        ++opened;
        openError = error;
    }
    void didRemoveDevice(GPhotoDevice*) override { ++removed; }
    void didReceiveThumbnailForItem(GPhotoDevice*, GPhotoFile* file) override {
        thumbnails.append(file);
    }
};

struct RecordingDownloadDelegate : GPhotoDownloadDelegate {
    int answers = 0;
    bool removed = false;
    std::optional<QString> error;
    void didDownloadFile(GPhotoFile*, const std::optional<QString>& result) override {
        ++answers;
        error = result;
    }
    void didRemoveDevice(GPhotoDevice*) override {
        ++answers;
        removed = true;
    }
};

QStringList names(const QList<GPhotoFilePtr>& files) {
    QStringList result;
    for (const GPhotoFilePtr& file : files)
        result.append(file->folder() + QLatin1Char('/') + file->name());
    return result;
}

// Hidden names left in a folder: temporary files that were never cleaned up.
QStringList leftovers(const QString& folder) {
    return QDir(folder)
        .entryList(QDir::Files | QDir::Hidden | QDir::System)
        .filter(QRegularExpression(QStringLiteral("^\\.")));
}

class GPhotoDeviceTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_camera.isValid() && m_target.isValid());
        m_taken = QDateTime(QDate(2024, 5, 17), QTime(10, 30, 0));
        ASSERT_TRUE(m_camera.add(QStringLiteral("DCIM/100TEST/IMG_0001.JPG"),
                                 DirectoryCamera::jpeg(320, 240, Qt::red, 64), m_taken));
        ASSERT_TRUE(m_camera.add(QStringLiteral("DCIM/100TEST/IMG_0001.THM"),
                                 DirectoryCamera::jpeg(16, 12, Qt::red)));
        ASSERT_TRUE(m_camera.add(QStringLiteral("DCIM/100TEST/IMG_0002.JPG"),
                                 DirectoryCamera::jpeg(64, 48, Qt::blue)));
        ASSERT_TRUE(
            m_camera.add(QStringLiteral("DCIM/100TEST/MVI_0003.MOV"), QByteArray(5000, 'm')));
        ASSERT_TRUE(m_camera.add(QStringLiteral("DCIM/101TEST/IMG_0004.JPG"),
                                 DirectoryCamera::jpeg(32, 32, Qt::green)));
    }

    std::shared_ptr<GPhotoDevice> openDevice() {
        auto device = GPhotoDevice::create(m_camera.info());
        device->setDelegate(&m_delegate);
        device->requestOpenSession();
        EXPECT_TRUE(QTest::qWaitFor([&] { return m_delegate.opened > 0; }, kWait));
        return device;
    }

    GPhotoFilePtr file(const std::shared_ptr<GPhotoDevice>& device, const QString& name) {
        for (const GPhotoFilePtr& entry : device->mediaFiles()) {
            if (entry->name() == name)
                return entry;
        }
        return nullptr;
    }

    RecordingDownloadDelegate download(const std::shared_ptr<GPhotoDevice>& device,
                                       const GPhotoFilePtr& entry, GPhotoDownloadOptions options) {
        RecordingDownloadDelegate result;
        device->requestDownloadFile(entry, options, &result);
        EXPECT_TRUE(QTest::qWaitFor([&] { return result.answers > 0; }, kWait));
        // Exactly once: nothing else arrives later.
        QTest::qWait(50);
        EXPECT_EQ(result.answers, 1);
        return result;
    }

    GPhotoDownloadOptions into(const QString& folder) {
        GPhotoDownloadOptions options;
        options.downloadsDirectory = folder;
        options.downloadSidecarFiles = true;
        return options;
    }

    DirectoryCamera m_camera;
    QTemporaryDir m_target;
    QDateTime m_taken;
    RecordingDeviceDelegate m_delegate;
};

} // namespace

TEST_F(GPhotoDeviceTest, ReadyWithWholeCatalogueInDeviceOrderMoviesIncludedSideFilesApart) {
    auto device = openDevice();
    EXPECT_TRUE(m_delegate.openError.isEmpty()) << m_delegate.openError.toStdString();
    EXPECT_EQ(m_delegate.ready, 1);
    EXPECT_TRUE(device->isReady());
    EXPECT_EQ(device->name(), QStringLiteral("Directory Browse"));

    const QList<GPhotoFilePtr> files = device->mediaFiles();
    EXPECT_EQ(names(files), QStringList({QStringLiteral("/DCIM/100TEST/IMG_0001.JPG"),
                                         QStringLiteral("/DCIM/100TEST/IMG_0002.JPG"),
                                         QStringLiteral("/DCIM/100TEST/MVI_0003.MOV"),
                                         QStringLiteral("/DCIM/101TEST/IMG_0004.JPG")}));
    const GPhotoFilePtr first = files.value(0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first->sidecarNames(), QStringList(QStringLiteral("IMG_0001.THM")));
    EXPECT_EQ(first->fileSize(),
              QFileInfo(m_camera.path(QStringLiteral("DCIM/100TEST/IMG_0001.JPG"))).size());
    EXPECT_EQ(first->creationDate(), m_taken);
    EXPECT_EQ(first->modificationDate(), m_taken);
    EXPECT_EQ(files.value(2)->fileSize(), 5000);
    EXPECT_TRUE(files.value(1)->sidecarNames().isEmpty());
    EXPECT_EQ(first->device(), device);
}

TEST_F(GPhotoDeviceTest, OpeningAMissingFolderReportsAnErrorAndNeverBecomesReady) {
    const GPhotoDeviceInfo missing{QStringLiteral("Directory Browse"),
                                   QStringLiteral("disk:") + m_camera.path(QStringLiteral("gone"))};
    auto device = GPhotoDevice::create(missing);
    device->setDelegate(&m_delegate);
    device->requestOpenSession();
    ASSERT_TRUE(QTest::qWaitFor([&] { return m_delegate.opened > 0; }, kWait));
    EXPECT_FALSE(m_delegate.openError.isEmpty());
    EXPECT_EQ(m_delegate.ready, 0);
    EXPECT_TRUE(device->mediaFiles().isEmpty());

    auto unknown =
        GPhotoDevice::create({QStringLiteral("No Such Camera 9000"), m_camera.info().port});
    RecordingDeviceDelegate other;
    unknown->setDelegate(&other);
    unknown->requestOpenSession();
    ASSERT_TRUE(QTest::qWaitFor([&] { return other.opened > 0; }, kWait));
    EXPECT_FALSE(other.openError.isEmpty());
}

TEST_F(GPhotoDeviceTest, CopyBringsFileAndSideFilesAndLeavesThemOnTheDevice) {
    auto device = openDevice();
    const RecordingDownloadDelegate result =
        download(device, file(device, QStringLiteral("IMG_0001.JPG")), into(m_target.path()));
    EXPECT_FALSE(result.error.has_value()) << result.error.value_or(QString()).toStdString();
    const QString source = m_camera.path(QStringLiteral("DCIM/100TEST/IMG_0001.JPG"));
    EXPECT_EQ(TestFiles::read(m_target.filePath(QStringLiteral("IMG_0001.JPG"))),
              TestFiles::read(source));
    EXPECT_EQ(TestFiles::read(m_target.filePath(QStringLiteral("IMG_0001.THM"))),
              TestFiles::read(m_camera.path(QStringLiteral("DCIM/100TEST/IMG_0001.THM"))));
    EXPECT_TRUE(QFileInfo::exists(source));
    EXPECT_EQ(device->mediaFiles().size(), 4);
    EXPECT_TRUE(leftovers(m_target.path()).isEmpty())
        << leftovers(m_target.path()).join(u' ').toStdString();
}

TEST_F(GPhotoDeviceTest, MoveDeletesFileAndSideFilesOnTheDeviceOnlyAfterArrival) {
    auto device = openDevice();
    const QByteArray original =
        TestFiles::read(m_camera.path(QStringLiteral("DCIM/100TEST/IMG_0001.JPG")));
    GPhotoDownloadOptions options = into(m_target.path());
    options.deleteAfterSuccessfulDownload = true;
    const RecordingDownloadDelegate result =
        download(device, file(device, QStringLiteral("IMG_0001.JPG")), options);
    EXPECT_FALSE(result.error.has_value());
    EXPECT_EQ(TestFiles::read(m_target.filePath(QStringLiteral("IMG_0001.JPG"))), original);
    EXPECT_TRUE(QFileInfo::exists(m_target.filePath(QStringLiteral("IMG_0001.THM"))));
    EXPECT_FALSE(QFileInfo::exists(m_camera.path(QStringLiteral("DCIM/100TEST/IMG_0001.JPG"))));
    EXPECT_FALSE(QFileInfo::exists(m_camera.path(QStringLiteral("DCIM/100TEST/IMG_0001.THM"))));
    EXPECT_FALSE(file(device, QStringLiteral("IMG_0001.JPG")));
    EXPECT_EQ(device->mediaFiles().size(), 3);

    // A move into a folder that cannot take the file keeps it on the device.
    options.downloadsDirectory = m_target.filePath(QStringLiteral("missing"));
    const RecordingDownloadDelegate failed =
        download(device, file(device, QStringLiteral("IMG_0002.JPG")), options);
    EXPECT_TRUE(failed.error.has_value());
    EXPECT_TRUE(QFileInfo::exists(m_camera.path(QStringLiteral("DCIM/100TEST/IMG_0002.JPG"))));
}

TEST_F(GPhotoDeviceTest, ExistingFileIsKeptWithoutOverwriteAndReplacedWithIt) {
    auto device = openDevice();
    const QString existing = m_target.filePath(QStringLiteral("IMG_0002.JPG"));
    ASSERT_TRUE(TestFiles::write(existing, "older"));
    GPhotoDownloadOptions options = into(m_target.path());
    RecordingDownloadDelegate kept =
        download(device, file(device, QStringLiteral("IMG_0002.JPG")), options);
    EXPECT_TRUE(kept.error.has_value());
    EXPECT_EQ(TestFiles::read(existing), QByteArray("older"));

    options.overwrite = true;
    RecordingDownloadDelegate replaced =
        download(device, file(device, QStringLiteral("IMG_0002.JPG")), options);
    EXPECT_FALSE(replaced.error.has_value());
    EXPECT_EQ(TestFiles::read(existing),
              TestFiles::read(m_camera.path(QStringLiteral("DCIM/100TEST/IMG_0002.JPG"))));

    // Saved under another name on request.
    options.saveAsFilename = QStringLiteral("renamed.jpg");
    EXPECT_FALSE(
        download(device, file(device, QStringLiteral("IMG_0002.JPG")), options).error.has_value());
    EXPECT_TRUE(QFileInfo::exists(m_target.filePath(QStringLiteral("renamed.jpg"))));
    EXPECT_TRUE(leftovers(m_target.path()).isEmpty());
}

TEST_F(GPhotoDeviceTest, VanishedFolderEndsTheRequestWithAnErrorAndNoFile) {
    auto device = openDevice();
    const GPhotoFilePtr movie = file(device, QStringLiteral("MVI_0003.MOV"));
    ASSERT_TRUE(QDir(m_camera.path(QStringLiteral("DCIM"))).removeRecursively());
    const RecordingDownloadDelegate result = download(device, movie, into(m_target.path()));
    ASSERT_TRUE(result.error.has_value());
    EXPECT_FALSE(result.error->isEmpty());
    EXPECT_FALSE(result.error->contains(u'\n'));
    EXPECT_TRUE(QDir(m_target.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(GPhotoDeviceTest, RemovedDeviceAnswersPendingAndLaterRequestsOnce) {
    auto device = openDevice();
    const GPhotoFilePtr movie = file(device, QStringLiteral("MVI_0003.MOV"));
    RecordingDownloadDelegate pending;
    device->requestDownloadFile(movie, into(m_target.path()), &pending);
    // Booked on the main thread: removal now answers it, the worker's result is dropped.
    QCoreApplication::processEvents();
    device->deviceWasRemoved();
    EXPECT_EQ(m_delegate.removed, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return pending.answers > 0; }, kWait));
    EXPECT_TRUE(pending.removed);

    RecordingDownloadDelegate later;
    device->requestDownloadFile(movie, into(m_target.path()), &later);
    ASSERT_TRUE(QTest::qWaitFor([&] { return later.answers > 0; }, kWait));
    EXPECT_TRUE(later.removed);
    QTest::qWait(200);
    EXPECT_EQ(pending.answers, 1);
    EXPECT_EQ(later.answers, 1);
    EXPECT_FALSE(device->isReady());
}

TEST_F(GPhotoDeviceTest, ThumbnailIsFetchedLazilyAndAnnounced) {
    auto device = openDevice();
    const GPhotoFilePtr picture = file(device, QStringLiteral("IMG_0001.JPG"));
    EXPECT_TRUE(picture->thumbnailIfAvailable().isNull());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_delegate.thumbnails.isEmpty(); }, kWait));
    EXPECT_EQ(m_delegate.thumbnails.value(0), picture.get());
    const QImage thumbnail = picture->thumbnailIfAvailable();
    EXPECT_EQ(thumbnail.width(), 64);
    EXPECT_EQ(thumbnail.height(), 48);
}

TEST(GPhotoDeviceBrowserTest, SignalsCamerasComingAndGoingAndTellsTheirDevices) {
    QList<GPhotoDeviceInfo> connected;
    std::atomic<int> detections{0};
    GPhotoDeviceBrowser browser(
        [&] {
            ++detections;
            return connected;
        },
        [] { return QByteArray("unchanged"); });
    QSignalSpy added(&browser, &GPhotoDeviceBrowser::deviceAdded);
    QSignalSpy removed(&browser, &GPhotoDeviceBrowser::deviceRemoved);
    QSignalSpy scans(&browser, &GPhotoDeviceBrowser::scanFinished);
    const GPhotoDeviceInfo camera{QStringLiteral("Kappa K1"), QStringLiteral("usb:001,004")};
    const GPhotoDeviceInfo card{QStringLiteral("Mass Storage Camera"),
                                QStringLiteral("disk:/media/card")};

    auto scan = [&] {
        const qsizetype before = scans.size();
        browser.scanNow();
        return QTest::qWaitFor([&] { return scans.size() > before; }, kWait);
    };
    connected = {camera, card};
    ASSERT_TRUE(scan());
    ASSERT_EQ(added.size(), 2);
    EXPECT_EQ(added.at(0).at(0).value<GPhotoDeviceInfo>(), camera);
    EXPECT_FALSE(camera.isMassStorage());
    EXPECT_TRUE(card.isMassStorage());
    EXPECT_TRUE(GPhotoDeviceInfo({QString(), QStringLiteral("usbdisk:/dev/sdb1")}).isMassStorage());

    auto device = GPhotoDevice::create(camera);
    RecordingDeviceDelegate delegate;
    device->setDelegate(&delegate);
    browser.watchDevice(device);
    ASSERT_TRUE(scan());
    EXPECT_EQ(added.size(), 2);
    EXPECT_TRUE(removed.isEmpty());

    connected = {card};
    ASSERT_TRUE(scan());
    ASSERT_EQ(removed.size(), 1);
    EXPECT_EQ(removed.at(0).at(0).value<GPhotoDeviceInfo>(), camera);
    EXPECT_EQ(delegate.removed, 1);
    EXPECT_TRUE(device->isRemoved());
    EXPECT_EQ(browser.devices(), QList<GPhotoDeviceInfo>{card});

    // Polls only ask libgphoto2 again once the connections change.
    const int before = detections.load();
    browser.poll();
    QTest::qWait(100);
    EXPECT_EQ(detections.load(), before);
}

TEST(GPhotoDeviceInfoTest, IdentifierSplitsAtThePortPrefix) {
    const auto info =
        GPhotoDeviceInfo::fromIdentifier(QStringLiteral("Directory Browse@disk:/tmp/a@b"));
    ASSERT_TRUE(info.has_value());
    EXPECT_EQ(info->model, QStringLiteral("Directory Browse"));
    EXPECT_EQ(info->port, QStringLiteral("disk:/tmp/a@b"));
    EXPECT_EQ(info->identifier(), QStringLiteral("Directory Browse@disk:/tmp/a@b"));
    EXPECT_EQ(GPhotoDeviceInfo::fromIdentifier(QStringLiteral("Canon EOS@usb:001,002"))->port,
              QStringLiteral("usb:001,002"));
    EXPECT_FALSE(GPhotoDeviceInfo::fromIdentifier(QStringLiteral("no port here")).has_value());
    EXPECT_FALSE(GPhotoDeviceInfo::fromIdentifier(QStringLiteral("@usb:001,002")).has_value());
}
