// SPDX-License-Identifier: GPL-3.0-or-later
#include "camera/CameraDriveFile.h"
#include "camera/CameraDrive.h"
#include "camera/StagedFile.h"
#include "camera/StagedTransfer.h"
#include "camera/TransferMode.h"

#include "DngFixture.h"
#include "ExifOrient.h"
#include "FileManagerUtils.h"
#include "FileUtils.h"
#include "JpegFixture.h"
#include "TestFiles.h"
#include "transfer/ContentFingerprint.h"
#include "transfer/Transferer.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// Every entry of a folder, hidden ones included: no temporary file may stay.
QStringList allEntries(const QString& folder) {
    return QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

class CameraDriveFileTest : public ::testing::Test {
protected:
    QString source(const QString& name, const QByteArray& contents) {
        const QString path = m_card.path() + QStringLiteral("/DCIM/100/") + name;
        EXPECT_TRUE(TestFiles::write(path, contents));
        return path;
    }
    QString target(const QString& name) const { return m_dest.path() + QLatin1Char('/') + name; }

    QTemporaryDir m_card;
    QTemporaryDir m_dest;
};

TEST_F(CameraDriveFileTest, DescribesItsFile) {
    const QDateTime taken(QDate(2012, 9, 7), QTime(23, 59, 30));
    JpegFixture::Options options;
    options.digitized = taken;
    const QString picture = m_card.path() + QStringLiteral("/IMG_0001.JPG");
    ASSERT_TRUE(JpegFixture::write(picture, options));
    const QDateTime modified(QDate(2013, 1, 2), QTime(3, 4, 5));
    FileUtils::setModificationDate(modified, picture);

    CameraDriveFile file(picture, true);
    EXPECT_EQ(file.title(), QStringLiteral("IMG_0001.JPG"));
    EXPECT_EQ(file.fileSize(), QFileInfo(picture).size());
    EXPECT_EQ(file.creationDate(), taken);
    EXPECT_EQ(file.modificationDate(), modified);

    // Without EXIF the file system's date stands in.
    const QString plain = source(QStringLiteral("notes.txt"), "text");
    CameraDriveFile other(plain, true);
    EXPECT_EQ(other.creationDate(), FileUtils::getCreationDateForFile(plain));
    // A file the scan reads whole is fingerprinted on the way, as the import
    // history would; a longer one is left to the history.
    EXPECT_EQ(other.knownFingerprint(), ContentFingerprint::ofFile(plain));
    const CameraDriveFile longer(source(QStringLiteral("long.bin"), QByteArray(5000, 'x')), true);
    longer.creationDate();
    EXPECT_FALSE(longer.knownFingerprint());
    EXPECT_EQ(CameraDriveFile(m_card.path() + QStringLiteral("/gone"), true).fileSize(), 0);
}

TEST_F(CameraDriveFileTest, CopyKeepsSourceAndMoveRemovesItUnlessNotMoveable) {
    const QString picture = source(QStringLiteral("a.jpg"), "picture");
    CameraDriveFile copied(picture, true);
    ASSERT_TRUE(copied.transferFileTo(target(QStringLiteral("a.jpg")), TransferModeCopy));
    EXPECT_TRUE(QFileInfo::exists(picture));
    EXPECT_EQ(TestFiles::read(target(QStringLiteral("a.jpg"))), "picture");

    CameraDriveFile moved(source(QStringLiteral("b.jpg"), "moved"), true);
    ASSERT_TRUE(moved.transferFileTo(target(QStringLiteral("b.jpg")), TransferModeMove));
    EXPECT_FALSE(QFileInfo::exists(moved.path()));
    EXPECT_EQ(TestFiles::read(target(QStringLiteral("b.jpg"))), "moved");

    CameraDriveFile movie(source(QStringLiteral("c.mts"), "movie"), false);
    ASSERT_TRUE(movie.transferFileTo(target(QStringLiteral("c.mts")), TransferModeMove));
    EXPECT_TRUE(QFileInfo::exists(movie.path()));

    EXPECT_FALSE(CameraDriveFile(picture, true)
                     .transferFileTo(target(QStringLiteral("d")), static_cast<TransferMode>(7)));
    EXPECT_EQ(allEntries(m_dest.path()), (QStringList{"a.jpg", "b.jpg", "c.mts"}));
}

TEST_F(CameraDriveFileTest, ExistingDestinationIsReplacedOnlyWhenAsked) {
    for (TransferMode mode : {TransferModeCopy, TransferModeMove}) {
        SCOPED_TRACE(mode);
        const QString existing = target(QStringLiteral("x.jpg"));
        ASSERT_TRUE(TestFiles::write(existing, "old"));
        CameraDriveFile file(source(QStringLiteral("x.jpg"), "new"), true);

        EXPECT_FALSE(file.transferFileTo(existing, mode, false));
        EXPECT_EQ(TestFiles::read(existing), "old");
        EXPECT_TRUE(QFileInfo::exists(file.path()));

        EXPECT_TRUE(file.transferFileTo(existing, mode, true));
        EXPECT_EQ(TestFiles::read(existing), "new");
        EXPECT_EQ(QFileInfo::exists(file.path()), mode == TransferModeCopy);
        EXPECT_EQ(allEntries(m_dest.path()), QStringList{"x.jpg"});
        QFile::remove(existing);
    }
}

TEST_F(CameraDriveFileTest, MoveAcrossFileSystemsCopiesThenRemovesSource) {
    // /dev/shm is a tmpfs: another file system than the temporary folder.
    QTemporaryDir other(QStringLiteral("/dev/shm/pixhaul-test-XXXXXX"));
    if (!other.isValid())
        GTEST_SKIP() << "no second file system";
    const QByteArray contents(3 << 20, 'm');
    CameraDriveFile file(source(QStringLiteral("big.jpg"), contents), true);
    const QString destination = other.path() + QStringLiteral("/big.jpg");
    ASSERT_TRUE(file.transferFileTo(destination, TransferModeMove));
    EXPECT_FALSE(QFileInfo::exists(file.path()));
    EXPECT_EQ(TestFiles::read(destination), contents);
    EXPECT_EQ(allEntries(other.path()), QStringList{"big.jpg"});
}

TEST_F(CameraDriveFileTest, FailedCopyLeavesNothingBehindAndKeepsSource) {
    CameraDriveFile missingFolder(source(QStringLiteral("a.jpg"), "a"), true);
    EXPECT_FALSE(
        missingFolder.transferFileTo(target(QStringLiteral("no/such/a.jpg")), TransferModeCopy));

    // A source that is a folder cannot be copied; the staged file goes away.
    QDir(m_card.path()).mkpath(QStringLiteral("folder.jpg"));
    CameraDriveFile folder(m_card.path() + QStringLiteral("/folder.jpg"), true);
    EXPECT_FALSE(folder.transferFileTo(target(QStringLiteral("folder.jpg")), TransferModeCopy));
    EXPECT_TRUE(allEntries(m_dest.path()).isEmpty());
    EXPECT_TRUE(QFileInfo::exists(missingFolder.path()));
}

namespace {

// Red on top and blue below: how a left-red, right-blue picture stored
// turned left (orientation 6) shows once it is upright.
bool showsRedOverBlue(const QString& path) {
    QImageReader reader(path);
    reader.setAutoTransform(false);
    const QImage image = reader.read();
    if (image.size() != QSize(32, 64))
        return false;
    const QRgb top = image.pixel(16, 8);
    const QRgb bottom = image.pixel(16, 56);
    return qRed(top) > 200 && qBlue(top) < 60 && qBlue(bottom) > 200 && qRed(bottom) < 60;
}

int orientationOf(const QString& path) {
    unsigned char value = 0;
    return exif_orient(QFile::encodeName(path).constData(), &value) ? value : -1;
}

} // namespace

TEST_F(CameraDriveFileTest, UprightTransfersTurnPicturesOnTheWayAndLeaveTheRestAlone) {
    JpegFixture::Options turned;
    turned.orientation = 6;
    turned.make = QStringLiteral("Zentrovo");
    const QByteArray picture = JpegFixture::jpeg(turned);
    JpegFixture::Options odd = turned; // partial MCUs: no lossless turn
    odd.size = QSize(61, 30);
    QTemporaryDir other(QStringLiteral("/dev/shm/pixhaul-test-XXXXXX"));

    CameraDriveFile copied(source(QStringLiteral("a.jpg"), picture), true);
    ASSERT_TRUE(copied.transferUprightFileTo(target(QStringLiteral("a.jpg")), TransferModeCopy));
    EXPECT_EQ(TestFiles::read(copied.path()), picture); // the source as it was
    EXPECT_TRUE(showsRedOverBlue(target(QStringLiteral("a.jpg"))));
    EXPECT_EQ(orientationOf(target(QStringLiteral("a.jpg"))), 1);

    // A move within one file system renames, then turns in place; across
    // file systems the turned copy is written once and the source goes.
    CameraDriveFile renamed(source(QStringLiteral("b.jpg"), picture), true);
    ASSERT_TRUE(renamed.transferUprightFileTo(target(QStringLiteral("b.jpg")), TransferModeMove));
    EXPECT_FALSE(QFileInfo::exists(renamed.path()));
    EXPECT_TRUE(showsRedOverBlue(target(QStringLiteral("b.jpg"))));
    if (other.isValid()) {
        CameraDriveFile moved(source(QStringLiteral("c.jpg"), picture), true);
        const QString destination = other.path() + QStringLiteral("/c.jpg");
        ASSERT_TRUE(moved.transferUprightFileTo(destination, TransferModeMove));
        EXPECT_FALSE(QFileInfo::exists(moved.path()));
        EXPECT_TRUE(showsRedOverBlue(destination));
        EXPECT_EQ(allEntries(other.path()), QStringList{"c.jpg"});
    }

    // What cannot be turned arrives byte for byte.
    const QByteArray oddBytes = JpegFixture::jpeg(odd);
    CameraDriveFile refused(source(QStringLiteral("d.jpg"), oddBytes), true);
    ASSERT_TRUE(refused.transferUprightFileTo(target(QStringLiteral("d.jpg")), TransferModeCopy));
    EXPECT_EQ(TestFiles::read(target(QStringLiteral("d.jpg"))), oddBytes);
    CameraDriveFile movie(source(QStringLiteral("e.mts"), "movie"), false);
    ASSERT_TRUE(movie.transferUprightFileTo(target(QStringLiteral("e.mts")), TransferModeMove));
    EXPECT_EQ(TestFiles::read(target(QStringLiteral("e.mts"))), "movie");
    EXPECT_TRUE(QFileInfo::exists(movie.path()));

    // An existing file is only replaced when asked, turned or not.
    CameraDriveFile again(source(QStringLiteral("a.jpg"), picture), true);
    EXPECT_FALSE(again.transferUprightFileTo(target(QStringLiteral("d.jpg")), TransferModeCopy));
    EXPECT_EQ(TestFiles::read(target(QStringLiteral("d.jpg"))), oddBytes);
    EXPECT_TRUE(
        again.transferUprightFileTo(target(QStringLiteral("d.jpg")), TransferModeCopy, true));
    EXPECT_TRUE(showsRedOverBlue(target(QStringLiteral("d.jpg"))));
    EXPECT_EQ(allEntries(m_dest.path()), (QStringList{"a.jpg", "b.jpg", "d.jpg", "e.mts"}));
}

// A staged transfer stands under its final name only once published, and a
// moved source goes only after that; dropped, it leaves nothing and keeps
// the source.
TEST_F(CameraDriveFileTest, StagedTransfersPublishLateAndRemoveMovedSourcesLast) {
    JpegFixture::Options turned;
    turned.orientation = 6;
    const QByteArray picture = JpegFixture::jpeg(turned);
    QTemporaryDir other(QStringLiteral("/dev/shm/pixhaul-test-XXXXXX"));
    struct Case {
        const char* name;
        TransferMode mode;
        bool upright;
        bool otherVolume;
        bool writesCopy; // else one rename
    };
    const Case cases[] = {
        {"copy", TransferModeCopy, false, false, true},
        {"turned copy", TransferModeCopy, true, false, true},
        {"move by rename", TransferModeMove, false, false, false},
        {"turned move", TransferModeMove, true, false, true},
        {"move across volumes", TransferModeMove, false, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        if (c.otherVolume && !other.isValid())
            continue;
        const QString folder = c.otherVolume ? other.path() : m_dest.path();
        const QString destination = folder + QStringLiteral("/x.jpg");
        CameraDriveFile file(source(QStringLiteral("x.jpg"), picture), true);
        file.setVerifiesCopies(true);

        file.stageTransferTo(destination, c.mode, c.upright).reset();
        EXPECT_TRUE(allEntries(folder).isEmpty());
        EXPECT_EQ(TestFiles::read(file.path()), picture);

        std::unique_ptr<StagedTransfer> staged =
            file.stageTransferTo(destination, c.mode, c.upright);
        ASSERT_TRUE(staged);
        EXPECT_EQ(staged->isCopy(), c.writesCopy);
        EXPECT_FALSE(QFileInfo::exists(destination));
        ASSERT_TRUE(staged->flush() && staged->holds() && staged->publish(false));
        EXPECT_EQ(showsRedOverBlue(destination), c.upright);
        EXPECT_EQ(QFileInfo::exists(file.path()), c.writesCopy);
        staged->removeSource();
        EXPECT_EQ(QFileInfo::exists(file.path()), c.mode == TransferModeCopy);
        EXPECT_EQ(allEntries(folder), QStringList{"x.jpg"});
        QFile::remove(destination);
    }
}

// A RAW file and its JPEG twin fall into the day they were taken whatever
// their modification times say; a turned RAW file still arrives byte for
// byte (only JPEG files are turned).
TEST_F(CameraDriveFileTest, RawAndJpegTwinsGroupByCaptureDayAndRawArrivesUntouched) {
    const QDateTime taken(QDate(2019, 12, 31), QTime(23, 30));
    const QString raw =
        source(QStringLiteral("IMG_0001.DNG"), DngFixture::dng({.orientation = 6, .taken = taken}));
    const QString twin =
        source(QStringLiteral("IMG_0001.JPG"), JpegFixture::jpeg({.digitized = taken}));
    const QString later =
        source(QStringLiteral("IMG_0002.JPG"), JpegFixture::jpeg({.digitized = taken.addDays(2)}));
    for (const QString& file : {raw, twin, later}) {
        QFile handle(file);
        ASSERT_TRUE(handle.open(QIODevice::ReadWrite));
        ASSERT_TRUE(handle.setFileTime(QDateTime(QDate(2001, 1, 1), QTime(12, 0)),
                                       QFileDevice::FileModificationTime));
    }
    CameraDrive drive(m_card.path());
    Transferer transferer;
    transferer.scanCamera(drive);
    ASSERT_EQ(transferer.targets().size(), 2);
    EXPECT_EQ(transferer.targets()[0].date().date(), taken.date());
    QStringList names;
    for (const CameraFilePtr& file : transferer.targets()[0].items())
        names << QFileInfo(static_cast<const CameraDriveFile&>(*file).path()).fileName();
    names.sort();
    EXPECT_EQ(names, (QStringList{"IMG_0001.DNG", "IMG_0001.JPG"}));

    CameraDriveFile file(raw, true);
    ASSERT_TRUE(
        file.transferUprightFileTo(target(QStringLiteral("IMG_0001.DNG")), TransferModeCopy));
    EXPECT_EQ(TestFiles::read(target(QStringLiteral("IMG_0001.DNG"))), TestFiles::read(raw));
}

TEST(StagedFileTest, OnlyAbandonedStagesOfThisProgramAreRemoved) {
    QTemporaryDir dir;
    const QString destination = dir.filePath(QStringLiteral("IMG_0001.JPG"));
    StagedFile living(destination);
    ASSERT_TRUE(living.isValid());
    // Made the way a stage makes its file, but locked by nobody: what a
    // killed process leaves.
    const QString abandoned = FileManagerUtils::temporaryFilename(destination);
    const QString noExtension =
        FileManagerUtils::temporaryFilename(dir.filePath(QStringLiteral("x")));
    ASSERT_TRUE(TestFiles::write(
        dir.filePath(QStringLiteral(".other-1B4E28BA-2FA1-11D2-883F-0016D3CCA427.JPG")), "o"));
    ASSERT_TRUE(TestFiles::write(dir.filePath(QStringLiteral(".hidden.JPG")), "h"));
    ASSERT_TRUE(TestFiles::write(dir.filePath(QStringLiteral("IMG_0002.JPG")), "p"));

    EXPECT_EQ(StagedFile::removeAbandonedIn(dir.path()), 2);
    EXPECT_FALSE(QFileInfo::exists(abandoned));
    EXPECT_FALSE(QFileInfo::exists(noExtension));
    EXPECT_TRUE(QFileInfo::exists(living.temporaryPath()));
    EXPECT_EQ(allEntries(dir.path()).size(), 4);
    EXPECT_EQ(StagedFile::removeAbandonedIn(dir.filePath(QStringLiteral("missing"))), 0);
}

TEST(StagedFileTest, PublishesOnlyOverNothingUnlessReplacing) {
    QTemporaryDir dir;
    const QString destination = dir.path() + QStringLiteral("/photo.jpg");
    {
        StagedFile staged(destination);
        ASSERT_TRUE(staged.isValid());
        EXPECT_TRUE(QFileInfo(staged.temporaryPath()).fileName().startsWith(QLatin1Char('.')));
        EXPECT_EQ(QFileInfo(staged.temporaryPath()).absolutePath(), dir.path());
        ASSERT_TRUE(TestFiles::write(staged.temporaryPath(), "first"));
        EXPECT_TRUE(staged.publish(false));
    }
    {
        // A file that took the name first is never overwritten.
        StagedFile staged(destination);
        ASSERT_TRUE(TestFiles::write(staged.temporaryPath(), "second"));
        EXPECT_FALSE(staged.publish(false));
    }
    EXPECT_EQ(TestFiles::read(destination), "first");
    EXPECT_EQ(allEntries(dir.path()), QStringList{"photo.jpg"});
    {
        StagedFile staged(destination);
        ASSERT_TRUE(TestFiles::write(staged.temporaryPath(), "third"));
        EXPECT_TRUE(staged.publish(true));
    }
    EXPECT_EQ(TestFiles::read(destination), "third");
    EXPECT_EQ(allEntries(dir.path()), QStringList{"photo.jpg"});
    EXPECT_FALSE(StagedFile(dir.path() + QStringLiteral("/missing/photo.jpg")).isValid());
}

} // namespace
