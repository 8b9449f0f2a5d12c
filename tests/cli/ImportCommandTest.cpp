// SPDX-License-Identifier: GPL-3.0-or-later
// pixhaul-import run as a separate process on generated cards.
#include "JpegFixture.h"
#include "TestFiles.h"
#include "UserDefaults.h"
#include "settings/SettingsKeys.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QStorageInfo>
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

class ImportCommandTest : public ::testing::Test {
protected:
    void SetUp() override {
        // Runs share the user's settings: what an earlier test stored
        // (a destination, descriptions typed) must not leak into the next.
        UserDefaults& settings = UserDefaults::standardUserDefaults();
        settings.removeObjectForKey(QLatin1String(SettingsKeys::transfer_destination));
        settings.removeObjectForKey(QLatin1String(SettingsKeys::transfer_desc_history));
        settings.synchronize();
    }

    void start(QProcess& process, const QStringList& arguments) {
        // An import history of each test's own.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_data.path());
        process.setProcessEnvironment(environment);
        process.start(QStringLiteral(PIXHAUL_IMPORT_PROGRAM), arguments);
        ASSERT_TRUE(process.waitForStarted());
    }

    Result run(const QStringList& arguments, const QByteArray& input = {}) {
        QProcess process;
        start(process, arguments);
        process.write(input);
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(120000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAllStandardOutput()),
                QString::fromLocal8Bit(process.readAllStandardError())};
    }

    // Two days of pictures (23:59 and 00:01), a hidden file, a movie.
    void makeCard() {
        JpegFixture::Options late;
        late.digitized = QDateTime(QDate(2012, 5, 7), QTime(23, 59));
        JpegFixture::Options early;
        early.digitized = QDateTime(QDate(2012, 5, 8), QTime(0, 1));
        ASSERT_TRUE(JpegFixture::write(cardPath(QStringLiteral("DCIM/100/IMG_0002.JPG")), early));
        ASSERT_TRUE(JpegFixture::write(cardPath(QStringLiteral("DCIM/100/IMG_0001.JPG")), late));
        ASSERT_TRUE(TestFiles::write(cardPath(QStringLiteral("DCIM/100/.hidden.jpg")), "hidden"));
        ASSERT_TRUE(TestFiles::write(cardPath(QStringLiteral("PRIVATE/AVCHD/00001.MTS")), "movie"));
        setOldModificationDate(cardPath(QStringLiteral("PRIVATE/AVCHD/00001.MTS")));
    }
    static void setOldModificationDate(const QString& path) {
        QFile file(path);
        file.open(QIODevice::ReadWrite);
        file.setFileTime(QDateTime(QDate(2012, 5, 8), QTime(12, 0)),
                         QFileDevice::FileModificationTime);
    }
    QString cardPath(const QString& relative) const {
        return m_card.path() + QLatin1Char('/') + relative;
    }
    QString destPath(const QString& relative) const {
        return m_dest.path() + QLatin1Char('/') + relative;
    }
    QString pattern() const { return m_dest.path() + QStringLiteral("/[%Y-%m-%d] %P"); }

    QTemporaryDir m_card;
    QTemporaryDir m_dest;
    QTemporaryDir m_data;
};

TEST_F(ImportCommandTest, UsageErrorsAndBadSourcesExitWithTwo) {
    EXPECT_EQ(run({}).status, 2);
    EXPECT_EQ(run({QStringLiteral("--bogus"), m_card.path()}).status, 2);
    const Result missing = run({cardPath(QStringLiteral("nowhere"))});
    EXPECT_EQ(missing.status, 2);
    EXPECT_TRUE(missing.err.contains(cardPath(QStringLiteral("nowhere"))));
    ASSERT_TRUE(TestFiles::write(cardPath(QStringLiteral("file")), "x"));
    const Result file = run({cardPath(QStringLiteral("file"))});
    EXPECT_EQ(file.status, 2);
    EXPECT_TRUE(file.err.contains(QLatin1String("not a folder")));
    EXPECT_EQ(run({QStringLiteral("--help")}).status, 0);
}

TEST_F(ImportCommandTest, DryRunPrintsTheGroupsAndTouchesNothing) {
    makeCard();
    const Result result =
        run({QStringLiteral("--dry-run"), QStringLiteral("--dest"), pattern(),
             QStringLiteral("--description"), QStringLiteral("Trip"), m_card.path()});
    EXPECT_EQ(result.status, 0) << qPrintable(result.err);
    const QStringList lines = result.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts)
                                  .filter(QRegularExpression(QStringLiteral("^\\d{4}-")));
    // The movie, without EXIF, goes by its file's date: a third line.
    ASSERT_EQ(lines.size(), 3) << qPrintable(result.out);
    EXPECT_TRUE(result.out.contains(QLatin1String("\n3 new, 0 already imported\n")));
    // The destination's file system, what the run writes there, what is free.
    EXPECT_TRUE(result.out.contains(QRegularExpression(
        QStringLiteral(": [\\d.]+ [KMGT]?B to write, [\\d.]+ [KMGT]?B free\n  ") +
        QRegularExpression::escape(destPath(QStringLiteral("[2012-05-07] Trip"))))))
        << qPrintable(result.out);
    EXPECT_TRUE(lines[0].startsWith(QLatin1String("2012-05-07  1 file(s)  737 B  ")));
    EXPECT_TRUE(lines[0].endsWith(destPath(QStringLiteral("[2012-05-07] Trip"))));
    EXPECT_TRUE(lines[1].startsWith(QLatin1String("2012-05-08  1 file(s)")));
    EXPECT_TRUE(QDir(m_dest.path()).isEmpty());
    EXPECT_TRUE(UserDefaults::standardUserDefaults()
                    .stringArrayForKey(QLatin1String(SettingsKeys::transfer_desc_history))
                    .isEmpty());
}

TEST_F(ImportCommandTest, MovesACardIntoDatedFoldersKeepingMovies) {
    makeCard();
    // Not a terminal: groups get empty descriptions, no trailing blank.
    const Result result =
        run({QStringLiteral("--move"), QStringLiteral("--dest"), pattern(), m_card.path()});
    EXPECT_EQ(result.status, 0) << qPrintable(result.err);
    EXPECT_TRUE(result.out.contains(QLatin1String("3 file(s) transferred, 0 skipped, 0 failed")));
    EXPECT_TRUE(QFileInfo::exists(destPath(QStringLiteral("[2012-05-07]/IMG_0001.JPG"))));
    EXPECT_TRUE(QFileInfo::exists(destPath(QStringLiteral("[2012-05-08]/IMG_0002.JPG"))));
    // The movie has no EXIF date: it goes by its file's date.
    EXPECT_EQ(QDirIterator(m_dest.path(), {QStringLiteral("00001.MTS")}, QDir::Files,
                           QDirIterator::Subdirectories)
                  .hasNext(),
              true);
    EXPECT_FALSE(QFileInfo::exists(cardPath(QStringLiteral("DCIM/100/IMG_0001.JPG"))));
    EXPECT_TRUE(QFileInfo::exists(cardPath(QStringLiteral("DCIM/100/.hidden.jpg"))));
    EXPECT_TRUE(QFileInfo::exists(cardPath(QStringLiteral("PRIVATE/AVCHD/00001.MTS"))));
}

TEST_F(ImportCommandTest, OnlyTheFilesAddedSinceComeWithNewOnly) {
    makeCard();
    ASSERT_EQ(
        run({QStringLiteral("--dest"), destPath(QStringLiteral("first")), m_card.path()}).status,
        0);
    for (int minute : {3, 4}) {
        JpegFixture::Options options;
        options.digitized = QDateTime(QDate(2012, 5, 8), QTime(9, minute));
        ASSERT_TRUE(JpegFixture::write(
            cardPath(QStringLiteral("DCIM/100/IMG_000%1.JPG").arg(minute)), options));
    }
    const QStringList again = {QStringLiteral("--dest"), destPath(QStringLiteral("second")),
                               m_card.path()};
    const Result plan = run(QStringList{QStringLiteral("--dry-run")} + again);
    EXPECT_TRUE(plan.out.contains(QLatin1String("\n2 new, 3 already imported\n")))
        << qPrintable(plan.out);
    const Result result = run(QStringList{QStringLiteral("--new-only")} + again);
    EXPECT_EQ(result.status, 0) << qPrintable(result.err);
    EXPECT_EQ(QDir(destPath(QStringLiteral("second"))).entryList(QDir::Files),
              (QStringList{"IMG_0003.JPG", "IMG_0004.JPG"}));
    const Result nothing = run(QStringList{QStringLiteral("--new-only")} + again);
    EXPECT_TRUE(nothing.out.contains(QLatin1String("No new files to import")));
}

TEST_F(ImportCommandTest, ARunThatCannotFitExitsWithTwoBeforeWritingAnything) {
    makeCard();
    // Sparse: as large as the free space and more, without taking any.
    QFile huge(cardPath(QStringLiteral("DCIM/100/MVI_0003.MOV")));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly));
    ASSERT_TRUE(huge.resize(QStorageInfo(m_dest.path()).bytesAvailable() + (qint64(1) << 30)));
    huge.close();
    for (const QString& dryRun : {QStringLiteral("--dry-run"), QStringLiteral("--copy")}) {
        SCOPED_TRACE(dryRun.toStdString());
        const Result result =
            run({dryRun, QStringLiteral("--dest"), destPath(QStringLiteral("out")), m_card.path()});
        EXPECT_EQ(result.status, 2) << qPrintable(result.err);
        EXPECT_TRUE(result.err.contains(QLatin1String("Not enough space on ")))
            << qPrintable(result.err);
        EXPECT_TRUE(result.err.contains(destPath(QStringLiteral("out")) + QStringLiteral("): ")));
        EXPECT_TRUE(result.err.contains(QLatin1String(" missing.")));
        EXPECT_FALSE(QFileInfo::exists(destPath(QStringLiteral("out"))));
    }
}

TEST_F(ImportCommandTest, PlainFolderIsImportedWholeWithTheStoredPattern) {
    ASSERT_TRUE(TestFiles::write(cardPath(QStringLiteral("a/notes.txt")), "text"));
    setOldModificationDate(cardPath(QStringLiteral("a/notes.txt")));
    UserDefaults::standardUserDefaults().setObject(
        m_dest.path() + QStringLiteral("/imported %P"),
        QLatin1String(SettingsKeys::transfer_destination));
    UserDefaults::standardUserDefaults().synchronize();
    const Result result =
        run({QStringLiteral("--description"), QStringLiteral("Trip/Day"), m_card.path()});
    EXPECT_EQ(result.status, 0) << qPrintable(result.err);
    EXPECT_EQ(TestFiles::read(destPath(QStringLiteral("imported Trip/Day/notes.txt"))), "text");
    EXPECT_TRUE(QFileInfo::exists(cardPath(QStringLiteral("a/notes.txt"))));
}

TEST_F(ImportCommandTest, AskedConflictsFollowTheAnswersGiven) {
    makeCard();
    ASSERT_TRUE(TestFiles::write(destPath(QStringLiteral("d/IMG_0001.JPG")), "old1"));
    ASSERT_TRUE(TestFiles::write(destPath(QStringLiteral("d/IMG_0002.JPG")), "old2"));
    ASSERT_TRUE(TestFiles::write(destPath(QStringLiteral("d/00001.MTS")), "old3"));
    // Skip the first for this file only, then replace for the rest.
    const Result result =
        run({QStringLiteral("--overwrite"), QStringLiteral("ask"), QStringLiteral("--dest"),
             destPath(QStringLiteral("d")), m_card.path()},
            "s\n1\nr\n2\n");
    EXPECT_EQ(result.status, 0) << qPrintable(result.err);
    EXPECT_EQ(result.err.count(QLatin1String("already exists")), 2);
    EXPECT_EQ(TestFiles::read(destPath(QStringLiteral("d/IMG_0001.JPG"))), "old1");
    EXPECT_NE(TestFiles::read(destPath(QStringLiteral("d/IMG_0002.JPG"))), "old2");
    EXPECT_EQ(TestFiles::read(destPath(QStringLiteral("d/00001.MTS"))), "movie");
    EXPECT_TRUE(result.out.contains(QLatin1String("2 file(s) transferred, 1 skipped, 0 failed")));
}

TEST_F(ImportCommandTest, FailuresAreCountedNamedAndExitWithOne) {
    makeCard();
    ASSERT_TRUE(TestFiles::write(destPath(QStringLiteral("blocked")), "a file"));
    const Result result =
        run({QStringLiteral("--dest"), destPath(QStringLiteral("blocked/%Y")), m_card.path()});
    EXPECT_EQ(result.status, 1);
    EXPECT_TRUE(result.out.contains(QLatin1String("0 file(s) transferred, 0 skipped, 3 failed")));
    EXPECT_TRUE(result.out.contains(QLatin1String("Failed: IMG_0001.JPG")));
    EXPECT_TRUE(result.out.contains(QLatin1String("Failed: 00001.MTS")));
}

TEST_F(ImportCommandTest, CtrlCAtThePromptStopsWithOneHundredThirty) {
    makeCard();
    ASSERT_TRUE(TestFiles::write(destPath(QStringLiteral("d/IMG_0001.JPG")), "old"));
    QProcess process;
    start(process, {QStringLiteral("--overwrite"), QStringLiteral("ask"), QStringLiteral("--dest"),
                    destPath(QStringLiteral("d")), m_card.path()});
    QByteArray err;
    while (!err.contains("already exists") && process.state() == QProcess::Running) {
        process.waitForReadyRead(1000);
        err += process.readAllStandardError();
    }
    ::kill(static_cast<pid_t>(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(60000));
    EXPECT_EQ(process.exitCode(), 130);
    EXPECT_EQ(TestFiles::read(destPath(QStringLiteral("d/IMG_0001.JPG"))), "old");
    EXPECT_FALSE(QFileInfo::exists(destPath(QStringLiteral("d/IMG_0002.JPG"))));
}

// Killed at an arbitrary moment, the command leaves no partial file under a
// final name and removes no source whose copy is not complete.
TEST_F(ImportCommandTest, KilledTransferLosesNothing) {
    QTemporaryDir shm(QStringLiteral("/dev/shm/pixhaul-cli-XXXXXX"));
    const QString source =
        shm.isValid() ? shm.path() : m_card.path(); // another file system if possible
    QMap<QString, QByteArray> originals;
    for (int i = 0; i < 6; ++i) {
        const QString name = QStringLiteral("file%1.bin").arg(i);
        const QByteArray contents(8 << 20, static_cast<char>('a' + i));
        originals[name] = contents;
        ASSERT_TRUE(TestFiles::write(source + QLatin1Char('/') + name, contents));
    }
    QProcess process;
    start(process, {QStringLiteral("--move"), QStringLiteral("--dest"),
                    destPath(QStringLiteral("out")), source});
    while (process.state() == QProcess::Running &&
           QDir(destPath(QStringLiteral("out"))).entryList(QDir::Files | QDir::Hidden).size() < 3)
        QThread::msleep(2);
    ::kill(static_cast<pid_t>(process.processId()), SIGKILL);
    process.waitForFinished(60000);

    for (auto it = originals.cbegin(); it != originals.cend(); ++it) {
        const QString target = destPath(QStringLiteral("out/") + it.key());
        const bool sourceLeft = QFileInfo::exists(source + QLatin1Char('/') + it.key());
        if (QFileInfo::exists(target))
            EXPECT_EQ(TestFiles::read(target), it.value()) << qPrintable(it.key());
        else
            EXPECT_TRUE(sourceLeft) << qPrintable(it.key());
    }
}

} // namespace
