// SPDX-License-Identifier: GPL-3.0-or-later
// pixhaul-import under faults: whatever breaks, no picture is lost, no
// partial file stands under a final name, no source is removed whose copy
// is incomplete, and the failing file is named.
#include "JpegFixture.h"
#include "ScratchMount.h"
#include "TestFiles.h"

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

    Result run(const QString& destination, const QString& mode,
               const QStringList& fault = {}) const {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        if (!fault.isEmpty()) {
            // The shim comes before the sanitizer runtime; tell ASan that is meant.
            environment.insert(QStringLiteral("LD_PRELOAD"), QStringLiteral(PIXHAUL_FAULT_SHIM));
            environment.insert(QStringLiteral("ASAN_OPTIONS"),
                               environment.value(QStringLiteral("ASAN_OPTIONS")) +
                                   QStringLiteral(":verify_asan_link_order=0"));
            environment.insert(QStringLiteral("PIXHAUL_FAULT"), fault.value(0));
            environment.insert(QStringLiteral("PIXHAUL_FAULT_PATH"), fault.value(1));
            environment.insert(QStringLiteral("PIXHAUL_FAULT_AFTER"), fault.value(2));
        }
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(QStringLiteral(PIXHAUL_IMPORT_PROGRAM),
                      {mode, QStringLiteral("--no-rotate"), QStringLiteral("--overwrite"),
                       QStringLiteral("skip"), QStringLiteral("--description"),
                       QStringLiteral("Faults"), QStringLiteral("--dest"),
                       destination + QStringLiteral("/%Y-%m-%d"), m_card.path()});
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
    std::unique_ptr<QTemporaryDir> m_other;
    QMap<QString, QByteArray> m_originals;
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
        // Room for two pictures and a half.
        ScratchMount full(qint64(2.5 * double(kPadding)) + (256 << 10));
        if (!full.isMounted())
            GTEST_SKIP() << qPrintable(full.reason());
        prepare(QStringLiteral("--copy"));
        const Result result = run(full.path(), mode);
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
    ScratchMount mount(1 << 20);
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

} // namespace
