// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/ImportHistory.h"
#include "camera/CameraDrive.h"
#include "camera/CameraDriveFile.h"
#include "transfer/ImportJournal.h"
#include "transfer/TransferRun.h"
#include "transfer/Transferer.h"

#include "JpegFixture.h"
#include "PrivateSettings.h"
#include "TestFiles.h"
#include "settings/SettingsKeys.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <thread>

namespace {

UserDefaults& defaults() {
    static PrivateSettings settings;
    return settings.store;
}

class ImportHistoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        defaults().setBool(false, QLatin1String(SettingsKeys::transfer_rotate));
        defaults().setInteger(2, QLatin1String(SettingsKeys::transfer_overwrite_mode));
    }
    QString historyFolder() const { return m_data.filePath(QStringLiteral("pixhaul")); }
    QString historyPath() const { return historyFolder() + QStringLiteral("/history.sqlite"); }
    QString card(int i) const {
        return m_card.filePath(
            QStringLiteral("DCIM/100/IMG_%1.JPG").arg(i, 4, 10, QLatin1Char('0')));
    }
    // A picture taken at 10:0i, padded after its end so that the two edges
    // of its fingerprint lie apart.
    void addPicture(int i) {
        JpegFixture::Options options;
        options.digitized = QDateTime(QDate(2023, 6, 1), QTime(10, i));
        ASSERT_TRUE(TestFiles::write(card(i), JpegFixture::jpeg(options) +
                                                  QByteArray(200 * 1024, char('a' + i))));
    }
    // Imports the card into `folder`, only the files the history does not
    // know with `newOnly`; the names found there afterwards.
    QStringList import(const QString& folder, bool newOnly) {
        CameraDrive drive(m_card.path());
        Transferer transferer;
        transferer.scanCamera(drive);
        if (newOnly) {
            const ImportHistory history(historyPath());
            transferer.removeFiles(
                [&history](const CameraFilePtr& file) { return history.wasImported(*file); });
        }
        TransferRun run(transferer.getActionsFor(m_dest.filePath(folder), defaults()), defaults());
        run.setImportHistory(historyPath());
        run.run();
        return QDir(m_dest.filePath(folder)).entryList(QDir::Files, QDir::Name);
    }
    bool known(int i) const {
        return ImportHistory(historyPath()).wasImported(CameraDriveFile(card(i), true));
    }

    QTemporaryDir m_card;
    QTemporaryDir m_dest;
    QTemporaryDir m_data;
};

TEST_F(ImportHistoryTest, OnlyFilesThatArrivedAreRememberedAndOnlyNewOnesComeAgain) {
    addPicture(1);
    addPicture(2);
    // Skipped (a folder holds its name): not remembered.
    ASSERT_TRUE(QDir().mkpath(m_dest.filePath(QStringLiteral("first/IMG_0002.JPG"))));
    EXPECT_EQ(import(QStringLiteral("first"), false), QStringList{"IMG_0001.JPG"});
    EXPECT_TRUE(known(1));
    EXPECT_FALSE(known(2));

    addPicture(3);
    addPicture(4);
    addPicture(5);
    EXPECT_EQ(import(QStringLiteral("second"), true),
              (QStringList{"IMG_0002.JPG", "IMG_0003.JPG", "IMG_0004.JPG", "IMG_0005.JPG"}));
    EXPECT_TRUE(QDir(historyFolder()).entryList({QStringLiteral("*.journal")}).isEmpty());

    // Asked about together: a history of about the files' number is read
    // whole, a far larger one asked file by file; the answers agree.
    addPicture(6);
    CameraDrive drive(m_card.path());
    const QList<CameraFilePtr> files = drive.getFilesButImagesOnly(false, false);
    ASSERT_EQ(files.size(), 6);
    const ImportHistory history(historyPath());
    EXPECT_EQ(history.importedAmong(files), files.first(5));
    EXPECT_EQ(history.importedAmong({files.first()}), QList<CameraFilePtr>{files.first()});
    EXPECT_TRUE(history.importedAmong({files.last()}).isEmpty());

    // Read ahead of a scan (the history whole for six files, name by name
    // for one): the scan fingerprints exactly the files with a record, and
    // the answers stay the same.
    for (const qsizetype listedCount : {6, 1}) {
        SCOPED_TRACE(listedCount);
        const QList<CameraFilePtr> listed =
            CameraDrive(m_card.path()).getFilesButImagesOnly(false, false).first(listedCount);
        ImportHistory ahead(historyPath());
        const FingerprintWanted wanted = ahead.readAheadFor(listed);
        for (const CameraFilePtr& file : listed)
            file->readForScan(wanted);
        const QList<CameraFilePtr> imported = ahead.importedAmong(listed);
        EXPECT_EQ(imported, listed.first(qMin(listedCount, qsizetype(5))));
        for (const CameraFilePtr& file : listed)
            EXPECT_EQ(file->knownFingerprint().has_value(), imported.contains(file));
    }
}

TEST_F(ImportHistoryTest, AFileWithOtherBytesNameOrSizeIsNew) {
    auto flipByteAt = [](qint64 offset) {
        return [offset](const QString& path) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            const qint64 at = offset >= 0 ? offset : file.size() + offset;
            file.seek(at);
            const char byte = file.read(1).at(0);
            file.seek(at);
            file.write(QByteArray(1, char(byte ^ 0x40)));
        };
    };
    struct Case {
        const char* what;
        std::function<void(const QString&)> change;
        int checked; // the picture asked about afterwards
        bool stillKnown;
    };
    const QList<Case> cases = {
        {"untouched", [](const QString&) {}, 2, true},
        {"a byte of the head changed", flipByteAt(32 * 1024), 2, false},
        {"a byte of the tail changed", flipByteAt(-1), 2, false},
        {"grown", [](const QString& path) { TestFiles::write(path, TestFiles::read(path) + "x"); },
         2, false},
        {"renumbered", [this](const QString& path) { QFile::rename(path, card(1)); }, 1, false},
    };
    for (const Case& each : cases) {
        SCOPED_TRACE(each.what);
        QDir(m_card.path()).removeRecursively();
        QDir(historyFolder()).removeRecursively();
        QDir(m_dest.path()).removeRecursively();
        addPicture(2);
        import(QStringLiteral("out"), false);
        ASSERT_TRUE(known(2));
        each.change(card(2));
        EXPECT_EQ(known(each.checked), each.stillKnown);
    }
}

TEST_F(ImportHistoryTest, AKilledRunsJournalIsCommittedByTheNextOpener) {
    addPicture(1);
    const CameraDriveFile file(card(1), true);
    {
        ImportJournal journal(historyFolder());
        ASSERT_TRUE(journal.isValid());
        journal.append(*ImportHistory::recordFor(file, file.creationDate(), QStringLiteral("/x")));
        // Its run still holds it: not taken yet.
        EXPECT_FALSE(known(1));
    } // gone without a commit, as when killed
    EXPECT_TRUE(known(1));
    EXPECT_TRUE(QDir(historyFolder()).entryList({QStringLiteral("*.journal")}).isEmpty());
}

TEST_F(ImportHistoryTest, ADamagedHistoryActsAsAnEmptyOne) {
    ASSERT_TRUE(TestFiles::write(historyPath(), QByteArray(4096, 'x')));
    addPicture(1);
    EXPECT_EQ(import(QStringLiteral("out"), true), QStringList{"IMG_0001.JPG"});
    EXPECT_FALSE(known(1));
    EXPECT_TRUE(QDir(historyFolder()).entryList({QStringLiteral("*.journal")}).isEmpty());
}

TEST_F(ImportHistoryTest, TwoWritersAtOnceBothGetTheirRunsIn) {
    // Two connections, as two processes have: one waits for the other's commit.
    auto writer = [this](const QString& prefix, bool* allIn) {
        *allIn = true;
        for (int run = 0; run < 20; ++run) {
            ImportHistory history(historyPath());
            QList<ImportRecord> records;
            for (int i = 0; i < 50; ++i)
                records.append({prefix + QString::number(run * 100 + i), i, i, quint64(i), {}});
            *allIn = history.commit(records) && *allIn;
        }
    };
    bool first = false, second = false;
    std::thread other(writer, QStringLiteral("a"), &first);
    writer(QStringLiteral("b"), &second);
    other.join();
    EXPECT_TRUE(first);
    EXPECT_TRUE(second);
}

} // namespace
