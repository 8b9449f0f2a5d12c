// SPDX-License-Identifier: GPL-3.0-or-later
#include "transfer/TransferRun.h"
#include "camera/CameraDrive.h"
#include "transfer/Transferer.h"

#include "PrivateSettings.h"
#include "TestFiles.h"
#include "settings/SettingsKeys.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QTemporaryDir>
#include <QTimer>
#include <QtConcurrent>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace {

UserDefaults& defaults() {
    static PrivateSettings settings;
    return settings.store;
}

void setOverwriteMode(int mode) {
    defaults().setInteger(mode, QLatin1String(SettingsKeys::transfer_overwrite_mode));
}

// Records the reports of a run in the order they arrive and answers the
// overwrite questions from a queue (an empty queue stops the run).
struct Recorder {
    explicit Recorder(TransferRun& run) {
        QObject::connect(&run, &TransferRun::fileStarted,
                         [this](const CameraFilePtr& file, bool skipped) {
                             events << QStringLiteral("start %1%2")
                                           .arg(file->title(),
                                                skipped ? QStringLiteral(" +skipped") : QString());
                         });
        QObject::connect(&run, &TransferRun::bytesDone,
                         [this](qint64 bytes) { events << QStringLiteral("bytes %1").arg(bytes); });
        QObject::connect(&run, &TransferRun::overwriteQuestion,
                         [this, &run](const CameraFilePtr& file, const QString&) {
                             events << QStringLiteral("ask %1").arg(file->title());
                             OverwriteAnswer answer = OverwriteAnswer::canceled();
                             if (!answers.empty()) {
                                 // Recorded now, as a prompt records its answer.
                                 answer = OverwriteAnswer::fromChoice(
                                     answers.front().first, answers.front().second, defaults());
                                 answers.pop_front();
                             }
                             run.answerOverwriteQuestion(answer);
                         });
        QObject::connect(&run, &TransferRun::finished,
                         [this](const TransferSummary&) { events << QStringLiteral("finished"); });
    }
    QStringList events;
    std::deque<std::pair<bool, OverwriteScope>> answers; // replace?, scope
};

// A camera file whose transfer writes its name and tells how many
// transfers of its group run at the same time. With `awaitSecond`, the first
// one of a group that may overlap waits (a few seconds at most) for the next
// one to start, so an overlap shows whenever the run allows one.
struct Overlap {
    bool awaitSecond = true;
    std::mutex lock;
    std::condition_variable changed;
    int running = 0;
    int started = 0;
    int most = 0;
};

class RecordingFile : public CameraFile {
public:
    RecordingFile(QString name, bool parallel, Overlap& overlap)
        : m_name(std::move(name))
        , m_parallel(parallel)
        , m_overlap(overlap) {}
    QString title() const override { return m_name; }
    qint64 fileSize() const override { return m_name.size(); }
    bool supportsParallelTransfers() const override { return m_parallel; }
    bool transferFileTo(const QString& destination, TransferMode, bool) override {
        {
            std::unique_lock<std::mutex> locked(m_overlap.lock);
            const int order = ++m_overlap.started;
            m_overlap.most = std::max(m_overlap.most, ++m_overlap.running);
            m_overlap.changed.notify_all();
            if (order == 1 && m_parallel && m_overlap.awaitSecond)
                m_overlap.changed.wait_for(locked, std::chrono::seconds(5),
                                           [this] { return m_overlap.started > 1; });
        }
        const bool written = TestFiles::write(destination, m_name.toUtf8());
        std::lock_guard<std::mutex> locked(m_overlap.lock);
        --m_overlap.running;
        return written;
    }

private:
    QString m_name;
    bool m_parallel;
    Overlap& m_overlap;
};

class TransferRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        defaults().setBool(false, QLatin1String(SettingsKeys::transfer_rotate));
        setOverwriteMode(0);
    }
    // A card with three pictures and a movie, all of one day (the files'
    // own dates: no EXIF), planned into one folder.
    QList<TransferActionPtr> plan(TransferMode mode = TransferModeCopy) {
        for (const char* name : {"DCIM/100/a.jpg", "DCIM/100/b.jpg", "DCIM/100/c.jpg"})
            EXPECT_TRUE(
                TestFiles::write(m_card.path() + QLatin1Char('/') + QLatin1String(name), name));
        EXPECT_TRUE(TestFiles::write(m_card.path() + QStringLiteral("/PRIVATE/M/d.MTS"), "movie"));
        CameraDrive drive(m_card.path());
        Transferer transferer;
        transferer.setMode(mode);
        transferer.scanCamera(drive);
        EXPECT_EQ(transferer.targets().size(), 1);
        return transferer.getActionsFor(folder(), defaults());
    }
    // One recording file per name; each to its own name in the folder, or
    // all to `sameName`.
    QList<TransferActionPtr> recorded(const QStringList& names, bool parallel, Overlap& overlap,
                                      const QString& sameName = {}) const {
        QList<TransferActionPtr> actions;
        for (const QString& name : names)
            actions << std::make_shared<TransferAction>(
                TransferModeCopy, std::make_shared<RecordingFile>(name, parallel, overlap),
                out(sameName.isEmpty() ? name : sameName), defaults());
        return actions;
    }
    QString folder() const { return m_dest.path() + QStringLiteral("/out"); }
    QString out(const QString& name) const { return folder() + QLatin1Char('/') + name; }
    void occupy(const QString& name) { ASSERT_TRUE(TestFiles::write(out(name), "old")); }

    QTemporaryDir m_card;
    QTemporaryDir m_dest;
};

TEST_F(TransferRunTest, CopyAndMoveWithReportsInOrder) {
    TransferRun copy(plan(TransferModeCopy), defaults());
    Recorder recorder(copy);
    const TransferSummary summary = copy.run();
    EXPECT_EQ(recorder.events,
              (QStringList{"start a.jpg", "bytes 14", "start b.jpg", "bytes 14", "start c.jpg",
                           "bytes 14", "start d.MTS", "bytes 5", "finished"}));
    EXPECT_EQ(summary.transferred, 4);
    EXPECT_TRUE(summary.succeeded());
    EXPECT_TRUE(QFileInfo::exists(m_card.path() + QStringLiteral("/DCIM/100/a.jpg")));

    QDir(folder()).removeRecursively();
    TransferRun move(plan(TransferModeMove), defaults());
    EXPECT_EQ(move.run().transferred, 4);
    EXPECT_FALSE(QFileInfo::exists(m_card.path() + QStringLiteral("/DCIM/100/a.jpg")));
    EXPECT_TRUE(QFileInfo::exists(m_card.path() + QStringLiteral("/PRIVATE/M/d.MTS")));
    EXPECT_EQ(TestFiles::read(out(QStringLiteral("a.jpg"))), "DCIM/100/a.jpg");
    EXPECT_EQ(TestFiles::read(out(QStringLiteral("d.MTS"))), "movie");
}

TEST_F(TransferRunTest, ReplaceSkipAndFoldersAtTheDestination) {
    const QList<TransferActionPtr> actions = plan();
    for (int mode : {1, 2, 7}) {
        SCOPED_TRACE(mode);
        QDir(folder()).removeRecursively();
        occupy(QStringLiteral("a.jpg"));
        QDir().mkpath(out(QStringLiteral("b.jpg"))); // a folder is never replaced
        setOverwriteMode(mode);
        TransferRun run(actions, defaults());
        Recorder recorder(run);
        const TransferSummary summary = run.run();

        EXPECT_FALSE(recorder.events.join(QLatin1Char(',')).contains(QLatin1String("ask")));
        EXPECT_TRUE(QFileInfo(out(QStringLiteral("b.jpg"))).isDir());
        EXPECT_TRUE(recorder.events.contains(QStringLiteral("start c.jpg +skipped")));
        if (mode == 1) {
            EXPECT_EQ(TestFiles::read(out(QStringLiteral("a.jpg"))), "DCIM/100/a.jpg");
            EXPECT_EQ(summary.transferred, 3);
            EXPECT_EQ(summary.skipped, 1);
        } else {
            EXPECT_EQ(TestFiles::read(out(QStringLiteral("a.jpg"))), "old");
            EXPECT_EQ(recorder.events.at(1), QStringLiteral("start b.jpg +skipped"));
            EXPECT_EQ(summary.transferred, 2);
            EXPECT_EQ(summary.skipped, 2);
        }
        EXPECT_EQ(
            QDir(folder()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).size(),
            4);
    }
}

TEST_F(TransferRunTest, AskedAnswersHoldForTheirScope) {
    const QList<TransferActionPtr> actions = plan();
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.MTS"})
        occupy(QLatin1String(name));
    defaults().setInteger(1, QLatin1String(SettingsKeys::transfer_overwrite_default));

    TransferRun run(actions, defaults());
    Recorder recorder(run);
    // Skip a.jpg only, then replace everything left in this transfer.
    recorder.answers = {{false, OverwriteScopeThisFile}, {true, OverwriteScopeThisTransfer}};
    const TransferSummary summary = run.run();
    EXPECT_EQ(recorder.events.filter(QStringLiteral("ask")),
              (QStringList{"ask a.jpg", "ask b.jpg"}));
    EXPECT_EQ(TestFiles::read(out(QStringLiteral("a.jpg"))), "old");
    EXPECT_EQ(TestFiles::read(out(QStringLiteral("d.MTS"))), "movie");
    EXPECT_EQ(summary.transferred, 3);
    EXPECT_EQ(summary.skipped, 1);
    EXPECT_EQ(defaults().integerForKey(QLatin1String(SettingsKeys::transfer_overwrite_default)), 1);
    EXPECT_EQ(defaults().integerForKey(QLatin1String(SettingsKeys::transfer_overwrite_mode)), 0);

    // "From now on" also becomes the mode of later runs.
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.MTS"})
        occupy(QLatin1String(name));
    TransferRun always(actions, defaults());
    Recorder alwaysRecorder(always);
    alwaysRecorder.answers = {{false, OverwriteScopeAlways}};
    EXPECT_EQ(always.run().skipped, 4);
    EXPECT_EQ(alwaysRecorder.events.filter(QStringLiteral("ask")).size(), 1);
    EXPECT_EQ(defaults().integerForKey(QLatin1String(SettingsKeys::transfer_overwrite_mode)), 2);
    EXPECT_EQ(defaults().integerForKey(QLatin1String(SettingsKeys::transfer_overwrite_default)), 2);
}

TEST_F(TransferRunTest, CancelInThePromptOrByTheFlagStopsAfterTheCurrentFile) {
    const QList<TransferActionPtr> actions = plan();
    occupy(QStringLiteral("b.jpg"));
    TransferRun prompted(actions, defaults());
    Recorder recorder(prompted); // no answers queued: the prompt is cancelled
    const TransferSummary stopped = prompted.run();
    EXPECT_EQ(recorder.events,
              (QStringList{"start a.jpg", "bytes 14", "start b.jpg", "ask b.jpg", "finished"}));
    EXPECT_TRUE(stopped.canceled);
    EXPECT_EQ(stopped.transferred, 1);
    EXPECT_EQ(stopped.skipped, 0);
    EXPECT_EQ(stopped.notStarted, 3);
    EXPECT_EQ(TestFiles::read(out(QStringLiteral("b.jpg"))), "old");

    QDir(folder()).removeRecursively();
    TransferRun flagged(actions, defaults());
    Recorder flaggedRecorder(flagged);
    QObject::connect(&flagged, &TransferRun::fileStarted, [&flagged] { flagged.cancel(); });
    const TransferSummary canceled = flagged.run();
    EXPECT_EQ(flaggedRecorder.events, (QStringList{"start a.jpg", "bytes 14", "finished"}));
    EXPECT_EQ(canceled.transferred, 1);
    EXPECT_EQ(canceled.notStarted, 3);
}

TEST_F(TransferRunTest, UnwritableDestinationFailsEveryFileAndStillFinishes) {
    ASSERT_TRUE(TestFiles::write(folder(), "a file, not a folder"));
    TransferRun run(plan(TransferModeMove), defaults());
    Recorder recorder(run);
    const TransferSummary summary = run.run();
    EXPECT_EQ(recorder.events.filter(QStringLiteral("bytes")).size(), 4);
    EXPECT_EQ(recorder.events.last(), QStringLiteral("finished"));
    EXPECT_EQ(summary.failed, 4);
    EXPECT_FALSE(summary.succeeded());
    EXPECT_EQ(summary.failedNames, (QStringList{"a.jpg", "b.jpg", "c.jpg", "d.MTS"}));
    EXPECT_TRUE(QFileInfo::exists(m_card.path() + QStringLiteral("/DCIM/100/a.jpg")));
}

TEST_F(TransferRunTest, WorkerWaitsForAnAnswerGivenLaterOnTheMainThread) {
    const QList<TransferActionPtr> actions = plan();
    occupy(QStringLiteral("c.jpg"));
    TransferRun run(actions, defaults());
    QObject window; // stands for a window living on the main thread
    QStringList events;
    QObject::connect(
        &run, &TransferRun::fileStarted, &window, [&](const CameraFilePtr& file, bool) {
            EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
            events << file->title();
        });
    QObject::connect(&run, &TransferRun::overwriteQuestion, &window,
                     [&](const CameraFilePtr&, const QString& destination) {
                         events << QStringLiteral("ask ") + QFileInfo(destination).fileName();
                         // The prompt answers some event-loop turns later.
                         QTimer::singleShot(20, &window, [&run] {
                             run.answerOverwriteQuestion(OverwriteAnswer::fromChoice(
                                 true, OverwriteScopeThisFile, defaults()));
                         });
                     });
    bool finished = false;
    QObject::connect(&run, &TransferRun::finished, &window, [&](const TransferSummary& summary) {
        EXPECT_EQ(summary.transferred, 4);
        finished = true;
    });
    QFuture<TransferSummary> future = QtConcurrent::run([&run] { return run.run(); });
    while (!finished)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    future.waitForFinished();
    EXPECT_EQ(events, (QStringList{"a.jpg", "b.jpg", "c.jpg", "ask c.jpg", "d.MTS"}));
    EXPECT_EQ(TestFiles::read(out(QStringLiteral("c.jpg"))), "DCIM/100/c.jpg");
}

TEST_F(TransferRunTest, DriveFilesOverlapDeviceFilesTakeTurns) {
    for (bool parallel : {true, false}) {
        SCOPED_TRACE(parallel);
        QDir(folder()).removeRecursively();
        Overlap overlap;
        TransferRun run(recorded({"a.jpg", "b.jpg", "c.jpg"}, parallel, overlap), defaults());
        Recorder recorder(run);
        EXPECT_EQ(run.run().transferred, 3);
        EXPECT_EQ(overlap.most, parallel ? 2 : 1);
        // Overlapping or not, the reports come file after file.
        EXPECT_EQ(recorder.events, (QStringList{"start a.jpg", "bytes 5", "start b.jpg", "bytes 5",
                                                "start c.jpg", "bytes 5", "finished"}));
    }
}

TEST_F(TransferRunTest, OneNameTwiceWaitsForTheFirstAndCancelLetsTheStartedOneFinish) {
    for (int mode : {OverwriteModeReplace, OverwriteModeSkip}) {
        SCOPED_TRACE(mode);
        QDir(folder()).removeRecursively();
        setOverwriteMode(mode);
        Overlap overlap;
        overlap.awaitSecond = false;
        TransferRun run(recorded({"first", "second"}, true, overlap, QStringLiteral("same.jpg")),
                        defaults());
        const TransferSummary summary = run.run();
        EXPECT_EQ(overlap.most, 1);
        EXPECT_EQ(summary.failed, 0);
        EXPECT_EQ(summary.skipped, mode == OverwriteModeSkip ? 1 : 0);
        EXPECT_EQ(TestFiles::read(out(QStringLiteral("same.jpg"))),
                  mode == OverwriteModeSkip ? "first" : "second");
    }

    // Cancelled while the second file is reported: it has already started
    // and completes; the third never starts.
    QDir(folder()).removeRecursively();
    Overlap overlap;
    overlap.awaitSecond = false;
    TransferRun run(recorded({"a.jpg", "b.jpg", "c.jpg"}, true, overlap), defaults());
    Recorder recorder(run);
    QObject::connect(&run, &TransferRun::fileStarted, [&run](const CameraFilePtr& file, bool) {
        if (file->title() == QLatin1String("b.jpg"))
            run.cancel();
    });
    const TransferSummary summary = run.run();
    EXPECT_EQ(recorder.events,
              (QStringList{"start a.jpg", "bytes 5", "start b.jpg", "bytes 5", "finished"}));
    EXPECT_TRUE(summary.canceled);
    EXPECT_EQ(summary.transferred, 2);
    EXPECT_EQ(summary.notStarted, 1);
    EXPECT_FALSE(QFileInfo::exists(out(QStringLiteral("c.jpg"))));
}

TEST_F(TransferRunTest, DriveFilesArePublishedInBatchesOnlyAfterTheirWrites) {
    TransferRun run(plan(), defaults());
    run.setBatchLimits(2, 0);
    Recorder recorder(run);
    // At each report: the names standing in the folder, and whether hidden
    // (staged) files wait beside them.
    QStringList seen;
    auto look = [&] {
        const QDir dir(folder());
        seen << dir.entryList(QDir::Files).join(QLatin1Char(' ')) +
                    (dir.entryList(QDir::Files | QDir::Hidden).size() >
                             dir.entryList(QDir::Files).size()
                         ? QStringLiteral(" +staged")
                         : QString());
    };
    QObject::connect(&run, &TransferRun::fileStarted, look);
    QObject::connect(&run, &TransferRun::bytesDone, look);
    EXPECT_EQ(run.run().transferred, 4);
    EXPECT_EQ(recorder.events,
              (QStringList{"start a.jpg", "bytes 14", "start b.jpg", "bytes 14", "start c.jpg",
                           "bytes 14", "start d.MTS", "bytes 5", "finished"}));
    // a is published with b, once b is written; a full batch is published
    // while the next is written (c and d wait staged) and reported after.
    EXPECT_EQ(seen.at(0), QStringLiteral("a.jpg b.jpg +staged"));
    EXPECT_EQ(seen.at(4), QStringLiteral("a.jpg b.jpg c.jpg d.MTS"));
    EXPECT_EQ(seen.at(7), QStringLiteral("a.jpg b.jpg c.jpg d.MTS"));
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden).size(), 4);
}

TEST_F(TransferRunTest, NameTakenBeforeItsBatchIsPublishedIsNeverOverwritten) {
    struct Case {
        OverwriteMode mode;
        int skipped;
        int failed;
    };
    for (const Case& c : {Case{OverwriteModeSkip, 1, 0}, Case{OverwriteModeReplace, 0, 1}}) {
        SCOPED_TRACE(c.mode);
        QDir(folder()).removeRecursively();
        setOverwriteMode(c.mode);
        TransferRun run(plan(), defaults());
        // b.jpg appears after its check, while its batch is reported.
        QObject::connect(&run, &TransferRun::fileStarted, [this](const CameraFilePtr& file) {
            if (file->title() == QLatin1String("a.jpg"))
                occupy(QStringLiteral("b.jpg"));
        });
        const TransferSummary summary = run.run();
        EXPECT_EQ(summary.transferred, 3);
        EXPECT_EQ(summary.skipped, c.skipped);
        EXPECT_EQ(summary.failed, c.failed);
        EXPECT_EQ(TestFiles::read(out(QStringLiteral("b.jpg"))), "old");
        EXPECT_EQ(QDir(folder()).entryList(QDir::Files | QDir::Hidden).size(), 4);
    }
}

} // namespace
