// SPDX-License-Identifier: GPL-3.0-or-later
// pixhaul-import under faults: whatever breaks, no picture is lost, no
// partial file stands under a final name, no source is removed whose copy
// is incomplete, and the failing file is named.
#include "JpegFixture.h"
#include "ScratchMount.h"
#include "TestFiles.h"
#include "camera/CameraDriveFile.h"
#include "transfer/ImportHistory.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr qint64 kPadding = 3 << 20; // three copy chunks: faults land mid-file
const QString kVictim = QStringLiteral("IMG_0002.JPG");

struct Result {
    int status = -1; // -1: killed or crashed
    QString output;  // stdout and stderr together
};

class ImportFaultTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_card.isValid() && m_dest.isValid()); }

    // Three pictures of one day, each a small JPEG padded after its end to
    // several copy chunks (readers ignore bytes after the image).
    void makeCard() {
        for (int i = 1; i <= 3; ++i) {
            JpegFixture::Options options;
            options.digitized = QDateTime(QDate(2021, 3, 4), QTime(10, i));
            QByteArray bytes = JpegFixture::jpeg(options);
            QByteArray padding(kPadding, Qt::Uninitialized);
            QRandomGenerator generator{quint32(i)};
            generator.fillRange(reinterpret_cast<quint32*>(padding.data()),
                                padding.size() / qsizetype(sizeof(quint32)));
            bytes += padding;
            const QString name = QStringLiteral("IMG_%1.JPG").arg(i, 4, 10, QLatin1Char('0'));
            ASSERT_TRUE(TestFiles::write(cardFolder() + QLatin1Char('/') + name, bytes));
            m_originals.insert(name, bytes);
        }
    }
    QString cardFolder() const { return m_card.path() + QStringLiteral("/DCIM/100TEST"); }

    // A fresh card and a fresh, empty destination for `mode`. A move within
    // one file system is a rename that reads nothing, so moves go to another
    // one (/dev/shm) where the bytes are really copied.
    QString prepare(const QString& mode) {
        m_originals.clear();
        QDir(m_card.path()).removeRecursively();
        QDir().mkpath(m_card.path());
        makeCard();
        if (mode != QStringLiteral("--move")) {
            QDir(m_dest.path()).removeRecursively();
            QDir().mkpath(m_dest.path());
            return m_dest.path();
        }
        m_other = std::make_unique<QTemporaryDir>(QStringLiteral("/dev/shm/pixhaul-faults-XXXXXX"));
        struct stat a {
        }, b{};
        if (!m_other->isValid() ||
            ::stat(QFile::encodeName(m_other->path()).constData(), &a) != 0 ||
            ::stat(QFile::encodeName(m_card.path()).constData(), &b) != 0 || a.st_dev == b.st_dev)
            return {};
        return m_other->path();
    }

    Result run(const QString& destination, const QString& mode, const QStringList& fault = {},
               const QStringList& extra = {}) const {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("XDG_DATA_HOME"), m_data.path());
        if (!fault.isEmpty()) {
            // The shim comes before the sanitizer runtime; tell ASan that is meant.
            environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(PIXHAUL_FAULT_SHIM));
            environment.insert(QStringLiteral("ASAN_OPTIONS"),
                               environment.value(QStringLiteral("ASAN_OPTIONS")) +
                                   QStringLiteral(":verify_asan_link_order=0"));
            environment.insert(QStringLiteral("PIXHAUL_FAULT"), fault.value(0));
            environment.insert(QStringLiteral("PIXHAUL_FAULT_PATH"), fault.value(1));
            environment.insert(QStringLiteral("PIXHAUL_FAULT_AFTER"), fault.value(2));
            environment.insert(QStringLiteral("PIXHAUL_FAULT_FILL"), fault.value(3));
        }
        if (m_batchFiles > 0)
            environment.insert(QStringLiteral("PIXHAUL_BATCH_FILES"),
                               QString::number(m_batchFiles));
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        const QStringList arguments = {mode,
                                       QStringLiteral("--no-rotate"),
                                       QStringLiteral("--overwrite"),
                                       QStringLiteral("skip"),
                                       QStringLiteral("--description"),
                                       QStringLiteral("Faults"),
                                       QStringLiteral("--dest"),
                                       destination + QStringLiteral("/%Y-%m-%d")};
        process.start(QStringLiteral(PIXHAUL_IMPORT_PROGRAM),
                      arguments + extra + QStringList{m_card.path()});
        process.closeWriteChannel();
        EXPECT_TRUE(process.waitForFinished(120000));
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
                QString::fromLocal8Bit(process.readAll())};
    }

    // Every file under `folder` by name (hidden ones apart), with its bytes.
    static QMap<QString, QByteArray> finalFiles(const QString& folder, QStringList* hidden) {
        QMap<QString, QByteArray> files;
        QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QFileInfo info(it.next());
            if (info.fileName().startsWith(QLatin1Char('.'))) {
                if (hidden)
                    hidden->append(info.filePath());
                continue;
            }
            files.insert(info.fileName(), TestFiles::read(info.filePath()));
        }
        return files;
    }

    // The three guarantees, whatever happened. `expected` gives the bytes
    // each source should have now (changed by the fault or not).
    void expectNothingLost(const QString& destination,
                           const QMap<QString, QByteArray>& expected) const {
        const QMap<QString, QByteArray> copied = finalFiles(destination, nullptr);
        for (auto it = copied.cbegin(); it != copied.cend(); ++it) {
            ASSERT_TRUE(expected.contains(it.key())) << "unexpected file " << qPrintable(it.key());
            EXPECT_TRUE(it.value() == expected.value(it.key()) ||
                        it.value() == m_originals.value(it.key()))
                << "partial or altered file under its final name: " << qPrintable(it.key()) << " ("
                << it.value().size() << " bytes)";
        }
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            const QString source = cardFolder() + QLatin1Char('/') + it.key();
            if (QFileInfo::exists(source))
                continue;
            EXPECT_TRUE(copied.value(it.key()) == it.value())
                << "source removed without a complete copy: " << qPrintable(it.key());
        }
    }

    QTemporaryDir m_card;
    QTemporaryDir m_dest;
    QTemporaryDir m_data; // the runs' import history
    std::unique_ptr<QTemporaryDir> m_other;
    QMap<QString, QByteArray> m_originals;
    int m_batchFiles = 0; // files flushed together; 0: the program's default
};

TEST_F(ImportFaultTest, ReadErrorMidFileFailsThatFileOnlyAnInterruptedReadGoesOn) {
    for (const QString& fault : {QStringLiteral("eio"), QStringLiteral("eintr")}) {
        for (const QString& mode : {QStringLiteral("--copy"), QStringLiteral("--move")}) {
            SCOPED_TRACE((fault + QLatin1Char(' ') + mode).toStdString());
            const QString destination = prepare(mode);
            if (destination.isEmpty())
                GTEST_SKIP() << "no second file system (/dev/shm) to move across";
            const Result result =
                run(destination, mode, {fault, kVictim, QString::number(1 << 20)});
            if (fault == QStringLiteral("eintr")) {
                EXPECT_EQ(result.status, 0) << qPrintable(result.output);
                EXPECT_EQ(finalFiles(destination, nullptr), m_originals);
                continue;
            }
            EXPECT_EQ(result.status, 1) << qPrintable(result.output);
            EXPECT_TRUE(result.output.contains(kVictim)) << qPrintable(result.output);
            expectNothingLost(destination, m_originals);
            EXPECT_EQ(TestFiles::read(cardFolder() + QLatin1Char('/') + kVictim),
                      m_originals[kVictim]);
            EXPECT_EQ(finalFiles(destination, nullptr).size(), 2);
        }
    }
}

TEST_F(ImportFaultTest, SourceChangingSizeDuringTheCopyIsNeverPublishedHalfway) {
    for (const QString& fault : {QStringLiteral("grow"), QStringLiteral("shrink")}) {
        for (const QString& mode : {QStringLiteral("--copy"), QStringLiteral("--move")}) {
            SCOPED_TRACE((fault + QLatin1Char(' ') + mode).toStdString());
            const QString destination = prepare(mode);
            if (destination.isEmpty())
                GTEST_SKIP() << "no second file system (/dev/shm) to move across";
            const Result result =
                run(destination, mode, {fault, kVictim, QString::number(1 << 20)});
            // What the source holds after the change; a moved source may
            // only go once a copy of exactly that is in place.
            QMap<QString, QByteArray> now = m_originals;
            now[kVictim] = fault == QStringLiteral("grow")
                               ? m_originals[kVictim] + QByteArray(64 * 1024, 'x')
                               : m_originals[kVictim].left(1 << 20);
            EXPECT_NE(result.status, -1) << qPrintable(result.output);
            if (result.status != 0) {
                EXPECT_TRUE(result.output.contains(kVictim)) << qPrintable(result.output);
            }
            expectNothingLost(destination, now);
        }
    }
}

TEST_F(ImportFaultTest, DestinationFillingUpMidFileLosesNothing) {
    for (const QString& mode : {QStringLiteral("--copy"), QStringLiteral("--move")}) {
        SCOPED_TRACE(mode.toStdString());
        // Room for the run when it starts; another program takes the rest
        // while the third picture is read.
        ScratchMount full(8 * kPadding);
        if (!full.isMounted())
            GTEST_SKIP() << qPrintable(full.reason());
        prepare(QStringLiteral("--copy"));
        const Result result =
            run(full.path(), mode,
                {QStringLiteral("fill"), QStringLiteral("IMG_0003.JPG"), QString::number(1 << 20),
                 full.path() + QStringLiteral("/.other")});
        EXPECT_EQ(result.status, 1) << qPrintable(result.output);
        expectNothingLost(full.path(), m_originals);
        // Two files are copied at once, so the one in flight beside the
        // file that meets the full disk may fail too; never more.
        const QMap<QString, QByteArray> copied = finalFiles(full.path(), nullptr);
        EXPECT_GE(copied.size(), 1);
        EXPECT_LE(copied.size(), 2);
        for (auto it = m_originals.cbegin(); it != m_originals.cend(); ++it) {
            if (!copied.contains(it.key())) {
                EXPECT_TRUE(result.output.contains(it.key()))
                    << "failure not named: " << qPrintable(it.key()) << "\n"
                    << qPrintable(result.output);
            }
        }
    }
}

TEST_F(ImportFaultTest, ReadOnlyDestinationFailsEveryFileByName) {
    // Room enough: the run is not refused for space, it meets the read-only disk.
    ScratchMount mount(16 * kPadding);
    QString destination = m_dest.path();
    if (mount.isMounted()) {
        ASSERT_TRUE(QDir().mkpath(mount.path() + QStringLiteral("/2021-03-04")));
        if (!mount.makeReadOnly())
            GTEST_SKIP() << qPrintable(mount.reason());
        destination = mount.path();
    } else if (geteuid() != 0) {
        ASSERT_EQ(::chmod(QFile::encodeName(m_dest.path()).constData(), 0555), 0);
    } else {
        GTEST_SKIP() << qPrintable(mount.reason());
    }
    makeCard();
    const Result result = run(destination, QStringLiteral("--move"));
    ::chmod(QFile::encodeName(m_dest.path()).constData(), 0755);
    EXPECT_EQ(result.status, 1) << qPrintable(result.output);
    for (auto it = m_originals.cbegin(); it != m_originals.cend(); ++it) {
        EXPECT_TRUE(result.output.contains(it.key())) << qPrintable(result.output);
        EXPECT_EQ(TestFiles::read(cardFolder() + QLatin1Char('/') + it.key()), it.value());
    }
    EXPECT_TRUE(finalFiles(destination, nullptr).isEmpty());
}

TEST_F(ImportFaultTest, KilledMidFileThenRunAgainCompletesTheJob) {
    for (const QString& mode : {QStringLiteral("--copy"), QStringLiteral("--move")}) {
        SCOPED_TRACE(mode.toStdString());
        const QString destination = prepare(mode);
        if (destination.isEmpty())
            GTEST_SKIP() << "no second file system (/dev/shm) to move across";
        const Result killed =
            run(destination, mode, {QStringLiteral("kill"), kVictim, QString::number(1 << 20)});
        EXPECT_EQ(killed.status, -1) << qPrintable(killed.output);
        expectNothingLost(destination, m_originals);
        EXPECT_EQ(TestFiles::read(cardFolder() + QLatin1Char('/') + kVictim), m_originals[kVictim]);
        QStringList abandoned;
        finalFiles(destination, &abandoned);
        EXPECT_FALSE(abandoned.isEmpty()) << "the kill left no partial file: nothing was tested";

        const Result again = run(destination, mode);
        EXPECT_EQ(again.status, 0) << qPrintable(again.output);
        QStringList leftovers;
        const QMap<QString, QByteArray> copied = finalFiles(destination, &leftovers);
        EXPECT_TRUE(copied == m_originals) << "not every picture arrived whole";
        if (mode == QStringLiteral("--move")) {
            EXPECT_TRUE(QDir(cardFolder()).isEmpty(QDir::Files)) << "sources left after the move";
        }
        // The run after the kill clears the partial file the kill left.
        EXPECT_TRUE(leftovers.isEmpty()) << qPrintable(leftovers.join(QLatin1Char(' ')));
    }
}

TEST_F(ImportFaultTest, DestinationTooSmallIsRefusedBeforeAnyFileIsWritten) {
    ScratchMount small(2 * kPadding);
    if (!small.isMounted())
        GTEST_SKIP() << qPrintable(small.reason());
    makeCard();
    const Result result = run(small.path(), QStringLiteral("--move"));
    EXPECT_EQ(result.status, 2) << qPrintable(result.output);
    EXPECT_TRUE(result.output.contains(QStringLiteral("Not enough space on ") + small.path()))
        << qPrintable(result.output);
    EXPECT_TRUE(result.output.contains(QLatin1String("missing"))) << qPrintable(result.output);
    EXPECT_TRUE(QDir(small.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    for (auto it = m_originals.cbegin(); it != m_originals.cend(); ++it)
        EXPECT_EQ(TestFiles::read(cardFolder() + QLatin1Char('/') + it.key()), it.value());
}

TEST_F(ImportFaultTest, CopyCorruptedBeforeItsReadBackFailsThatFileAndKeepsItsSource) {
    const QStringList verify = {QStringLiteral("--verify")};
    for (const QString& mode : {QStringLiteral("--move"), QStringLiteral("--copy")}) {
        SCOPED_TRACE(mode.toStdString());
        const QString destination = prepare(mode);
        if (destination.isEmpty())
            GTEST_SKIP() << "no second file system (/dev/shm) to move across";
        // Whichever copy is checked first goes bad on the disk.
        const Result result = run(
            destination, mode, {QStringLiteral("corrupt"), destination, QString::number(2 << 20)},
            mode == QStringLiteral("--copy") ? verify : QStringList{});
        EXPECT_EQ(result.status, 1) << qPrintable(result.output);
        expectNothingLost(destination, m_originals);
        const QMap<QString, QByteArray> copied = finalFiles(destination, nullptr);
        ASSERT_EQ(copied.size(), 2) << qPrintable(result.output);
        for (auto it = m_originals.cbegin(); it != m_originals.cend(); ++it) {
            const bool sourceLeft = QFileInfo::exists(cardFolder() + QLatin1Char('/') + it.key());
            if (copied.contains(it.key())) {
                EXPECT_EQ(sourceLeft, mode == QStringLiteral("--copy")) << qPrintable(it.key());
                continue;
            }
            EXPECT_TRUE(result.output.contains(QStringLiteral("Failed: ") + it.key()))
                << qPrintable(result.output);
            EXPECT_EQ(TestFiles::read(cardFolder() + QLatin1Char('/') + it.key()), it.value());
        }
        QStringList hidden;
        finalFiles(destination, &hidden);
        EXPECT_TRUE(hidden.isEmpty()) << "the bad copy stayed: " << qPrintable(hidden.join(' '));
    }
}

TEST_F(ImportFaultTest, KilledAtABatchsFlushLeavesNoPartialFileAndRemovesNoSourceEarly) {
    // A batch is flushed twice: its contents before the renames, its names
    // after them; moved sources go only after the second.
    const QStringList firstTwo = {QStringLiteral("IMG_0001.JPG"), QStringLiteral("IMG_0002.JPG")};
    struct Case {
        const char* name;
        int batchFiles;         // 0: all three in one batch
        int syncsPassed;        // flushes before the one that is killed
        QStringList published;  // under their final names after the kill
        QList<int> staged;      // written under temporary names: one of these counts
        QStringList sourceGone; // of a move
    };
    const Case cases[] = {
        {"one batch, before its contents' flush", 0, 0, {}, {3}, {}},
        // The third file is written while the first batch is published.
        {"first batch, before its names' flush", 2, 1, firstTwo, {0, 1}, {}},
        {"second batch, before its contents' flush", 2, 2, firstTwo, {1}, firstTwo},
    };
    for (const Case& c : cases) {
        for (const QString& mode : {QStringLiteral("--copy"), QStringLiteral("--move")}) {
            SCOPED_TRACE(c.name + (QLatin1Char(' ') + mode).toStdString());
            const QString destination = prepare(mode);
            if (destination.isEmpty())
                GTEST_SKIP() << "no second file system (/dev/shm) to move across";
            m_batchFiles = c.batchFiles;
            const Result killed =
                run(destination, mode,
                    {QStringLiteral("killsync"), destination, QString::number(c.syncsPassed)});
            m_batchFiles = 0;
            EXPECT_EQ(killed.status, -1) << qPrintable(killed.output);
            expectNothingLost(destination, m_originals);
            QStringList staged;
            const QMap<QString, QByteArray> copied = finalFiles(destination, &staged);
            EXPECT_EQ(copied.keys(), c.published);
            EXPECT_TRUE(c.staged.contains(int(staged.size())))
                << qPrintable(staged.join(QLatin1Char(' ')));
            for (auto it = m_originals.cbegin(); it != m_originals.cend(); ++it) {
                const bool gone =
                    mode == QStringLiteral("--move") && c.sourceGone.contains(it.key());
                EXPECT_EQ(QFileInfo::exists(cardFolder() + QLatin1Char('/') + it.key()), !gone)
                    << qPrintable(it.key());
            }

            const Result again = run(destination, mode);
            EXPECT_EQ(again.status, 0) << qPrintable(again.output);
            QStringList leftovers;
            EXPECT_TRUE(finalFiles(destination, &leftovers) == m_originals);
            EXPECT_TRUE(leftovers.isEmpty()) << qPrintable(leftovers.join(QLatin1Char(' ')));
        }
    }
}

TEST_F(ImportFaultTest, KilledRunRemembersWhatArrivedAndNothingElse) {
    const QString destination = prepare(QStringLiteral("--copy"));
    // A batch per file, so the first one has arrived when the third is read.
    m_batchFiles = 1;
    const QString last = QStringLiteral("IMG_0003.JPG");
    const Result killed = run(destination, QStringLiteral("--copy"),
                              {QStringLiteral("kill"), last, QString::number(1 << 20)});
    EXPECT_EQ(killed.status, -1) << qPrintable(killed.output);
    const QMap<QString, QByteArray> copied = finalFiles(destination, nullptr);
    ASSERT_TRUE(copied.contains(QStringLiteral("IMG_0001.JPG"))) << qPrintable(killed.output);
    {
        // Opening the history takes in the journal the kill left.
        const ImportHistory history(
            m_data.filePath(QStringLiteral("pixhaul/import-history.sqlite")));
        for (auto it = m_originals.cbegin(); it != m_originals.cend(); ++it) {
            SCOPED_TRACE(it.key().toStdString());
            const bool known = history.wasImported(
                CameraDriveFile(cardFolder() + QLatin1Char('/') + it.key(), false));
            if (it.key() == QLatin1String("IMG_0001.JPG")) {
                EXPECT_TRUE(known);
            }
            if (known || it.key() == last) {
                EXPECT_EQ(known, copied.value(it.key()) == it.value());
            }
        }
    }
    // The rest comes with the new ones only.
    const Result again =
        run(destination, QStringLiteral("--copy"), {}, {QStringLiteral("--new-only")});
    EXPECT_EQ(again.status, 0) << qPrintable(again.output);
    EXPECT_TRUE(finalFiles(destination, nullptr) == m_originals);
}

} // namespace
