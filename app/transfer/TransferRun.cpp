// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferRun.h"

#include "ImportHistory.h"
#include "TransferLog.h"
#include "UserDefaults.h"
#include "camera/StagedTransfer.h"
#include "settings/SettingsKeys.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaMethod>
#include <QMutexLocker>

#include <algorithm>
#include <future>
#include <system_error>

#include <sys/stat.h>

namespace {

enum class Occupant { none, file, folder };

// lstat: a dangling symbolic link still occupies the name.
Occupant occupantOf(const QString& path) {
    struct stat st {};
    if (::lstat(QFile::encodeName(path).constData(), &st) != 0)
        return Occupant::none;
    return S_ISDIR(st.st_mode) ? Occupant::folder : Occupant::file;
}

const int registered = [] {
    qRegisterMetaType<CameraFilePtr>("CameraFilePtr");
    qRegisterMetaType<TransferSummary>("TransferSummary");
    qRegisterMetaType<OverwriteAnswer>("OverwriteAnswer");
    return 0;
}();

} // namespace

TransferRun::TransferRun(const QList<TransferActionPtr>& plannedActions, UserDefaults& store,
                         QObject* parent)
    : QObject(parent)
    , m_actions(plannedActions)
    , m_settings(store) {
    Q_UNUSED(registered);
}

OverwriteMode TransferRun::overwriteMode() const {
    if (m_overwriteModeOverride)
        return *m_overwriteModeOverride;
    // Any other stored number acts as skip.
    return static_cast<OverwriteMode>(
        m_settings.integerForKey(QLatin1String(SettingsKeys::transfer_overwrite_mode)));
}

TransferSummary TransferRun::run() {
    const OverwriteMode mode = overwriteMode();
    bool replace = mode == OverwriteModeReplace;
    bool askUser = mode == OverwriteModeAsk;
    State state;
    state.skipsExisting = !replace && !askUser;
    state.batch = std::make_unique<PublishBatch>(m_batchFiles, m_batchBytes);
    TransferSummary& summary = state.summary;
    if (!m_historyPath.isEmpty()) {
        state.journal.emplace(QFileInfo(m_historyPath).absolutePath());
        for (const TransferActionPtr& action : std::as_const(m_actions))
            action->setRecordsImport(true);
    }

    for (qsizetype index = 0; index < m_actions.size(); ++index) {
        const TransferActionPtr& action = m_actions.at(index);
        const CameraFilePtr source = action->source();
        if (isCanceled()) {
            collectAll(state);
            publish(state);
            summary.canceled = true;
            summary.notStarted += static_cast<int>(m_actions.size() - index);
            break;
        }

        state.destinationNames.visit(action->destination());

        // The same name twice (in any case, for FAT and exFAT): the second
        // one sees the first one's file.
        const bool sameNameInFlight = std::any_of(
            state.inFlight.cbegin(), state.inFlight.cend(), [&action](const Finishing& other) {
                return other.action->destination().compare(action->destination(),
                                                           Qt::CaseInsensitive) == 0;
            });
        if (sameNameInFlight)
            collectAll(state);
        if (batchesHold(state, action->destination()))
            publish(state);
        const Occupant occupant = state.destinationNames.mayBeTaken(action->destination())
                                      ? occupantOf(action->destination())
                                      : Occupant::none;
        const bool unasked =
            occupant == Occupant::none || (occupant == Occupant::file && replace && !askUser);
        if (unasked && runsAlongside(*action)) {
            Finishing next = start(action, occupant == Occupant::file);
            if (next.staged.valid()) {
                while (qsizetype(state.inFlight.size()) >= maxInFlight)
                    collect(state);
            } else {
                collectAll(state);
                publish(state);
                emit fileStarted(source, state.skipped);
            }
            state.inFlight.push_back(std::move(next));
            continue;
        }
        collectAll(state);
        if (unasked && action->canStage()) {
            PublishBatch::Entry entry;
            entry.action = action;
            entry.replaceExisting = occupant == Occupant::file;
            entry.bytes = action->bytes(); // read first: a moved file is gone afterwards
            entry.staged = action->stage();
            state.batch->add(std::move(entry));
            if (state.batch->isFull())
                publish(state, true);
            continue;
        }
        const bool skipsUnasked =
            occupant == Occupant::folder || (occupant == Occupant::file && !replace && !askUser);
        if (skipsUnasked) {
            if (occupant == Occupant::folder)
                qCInfo(lcTransfer) << "skipped" << action->destination() << ": a folder is there";
            // Reported in its turn, after the files before it.
            PublishBatch::Entry skip;
            skip.action = action;
            skip.skipped = true;
            state.batch->add(std::move(skip));
            continue;
        }
        publish(state);
        emit fileStarted(source, state.skipped);

        bool replaceExisting = false;
        if (occupant == Occupant::file) {
            if (askUser) {
                const OverwriteAnswer answer = ask(source, action->destination());
                if (answer.cancel) {
                    summary.canceled = true;
                    summary.notStarted += static_cast<int>(m_actions.size() - index);
                    break;
                }
                replace = answer.doOverwrite;
                if (answer.forAll)
                    askUser = false;
                state.skipsExisting = !replace && !askUser;
            }
            if (!replace) {
                state.skipped = true;
                ++summary.skipped;
                continue;
            }
            // Replaced by a rename once the new file is complete, never
            // removed beforehand.
            replaceExisting = true;
        }

        const qint64 bytes = action->bytes();
        count(state, action, action->process(replaceExisting));
        emit bytesDone(bytes);
    }
    collectAll(state);
    publish(state);
    if (isCanceled())
        summary.canceled = true;
    if (state.journal) {
        // A history that is busy beyond its timeout leaves the journal for
        // its next opener; one that cannot be used at all (damaged, newer)
        // never would take it.
        ImportHistory history(m_historyPath);
        if (!history.isOpen() || history.commit(state.journal->records()))
            state.journal->discard();
    }
    emit finished(summary);
    return summary;
}

void TransferRun::count(State& state, const TransferActionPtr& action, bool arrived,
                        bool remember) {
    if (arrived) {
        ++state.summary.transferred;
        state.destinationNames.add(action->destination());
        if (remember && state.journal && action->importRecord())
            state.journal->append(*action->importRecord());
        return;
    }
    ++state.summary.failed;
    const CameraFilePtr source = action->source();
    state.summary.failedNames.append(source ? source->title() : action->destination());
}

void TransferRun::collect(State& state) {
    if (state.inFlight.empty())
        return;
    Finishing finishing = std::move(state.inFlight.front());
    state.inFlight.pop_front();
    if (finishing.staged.valid()) {
        PublishBatch::Entry entry;
        entry.action = finishing.action;
        entry.staged = finishing.staged.get();
        entry.replaceExisting = finishing.replaceExisting;
        entry.bytes = finishing.bytes;
        state.batch->add(std::move(entry));
        if (state.batch->isFull())
            publish(state, true);
        return;
    }
    // Its fileStarted went out after the batch before it.
    count(state, finishing.action, finishing.arrived.get());
    emit bytesDone(finishing.bytes);
}

void TransferRun::collectAll(State& state) {
    while (!state.inFlight.empty())
        collect(state);
}

bool TransferRun::batchesHold(const State& state, const QString& destination) {
    return state.batch->holds(destination) ||
           (state.publishing && state.publishing->holds(destination));
}

void TransferRun::publish(State& state, bool inBackground) {
    reportPublished(state);
    if (state.batch->isEmpty())
        return;
    state.publishing =
        std::exchange(state.batch, std::make_unique<PublishBatch>(m_batchFiles, m_batchBytes));
    if (inBackground) {
        // What the batch finds at its names is judged as the run stands now.
        auto work = [batch = state.publishing.get(), skipsExisting = state.skipsExisting, this] {
            batch->publishAll(m_canceledFlag, skipsExisting);
        };
        try {
            state.publishingDone = std::async(std::launch::async, work);
            return;
        } catch (const std::system_error&) {
            // No thread to be had: published here and now, as it is reported.
        }
    }
    state.publishing->makeDurable();
    reportPublished(state);
}

void TransferRun::reportPublished(State& state) {
    if (!state.publishing)
        return;
    if (state.publishingDone.valid())
        state.publishingDone.get();
    PublishBatch& batch = *state.publishing;
    // Not yet published: each entry is, as it is reported, so a cancel seen
    // meanwhile leaves the rest unpublished (their temporaries go with the
    // batch, their sources untouched).
    const bool publishing = !batch.isPublished();
    for (PublishBatch::Entry& entry : batch.entries()) {
        if (publishing)
            entry.canceled = isCanceled();
        if (entry.canceled) {
            state.summary.canceled = true;
            ++state.summary.notStarted;
            continue;
        }
        emit fileStarted(entry.action->source(), state.skipped);
        if (publishing)
            PublishBatch::publish(entry, state.skipsExisting);
        // Another program may hold the name now: the next file bound there
        // looks it up for real.
        if (!entry.published)
            state.destinationNames.add(entry.action->destination());
        if (entry.skipped || entry.takenMeanwhile) {
            // Taken meanwhile: skipped, as it would have been a moment earlier.
            state.skipped = true;
            ++state.summary.skipped;
            continue;
        }
        // Counted now; remembered only once its name is durable below.
        count(state, entry.action, entry.published, false);
        emit bytesDone(entry.bytes);
    }
    if (publishing)
        batch.finish();
    // Remembered once durable under their names, before a moved source goes.
    QList<ImportRecord> arrived;
    for (const PublishBatch::Entry& entry : batch.entries()) {
        if (entry.published && entry.action->importRecord())
            arrived.append(*entry.action->importRecord());
    }
    if (state.journal)
        state.journal->append(arrived);
    batch.removeSources();
    state.publishing.reset();
}

bool TransferRun::runsAlongside(const TransferAction& action) {
    const CameraFilePtr source = action.source();
    if (!source || !source->supportsParallelTransfers())
        return false;
    // A staged copy is the kernel's work and leaves its flush to the batch:
    // a thread of its own would only add a hand-over per file. A turn is
    // the processor's, so the files around it go alongside.
    return !action.canStage() || action.shouldRotate();
}

TransferRun::Finishing TransferRun::start(const TransferActionPtr& action, bool replaceExisting) {
    Finishing started;
    started.action = action;
    started.replaceExisting = replaceExisting;
    // Read first: a moved file is gone afterwards.
    started.bytes = action->bytes();
    const bool staging = action->canStage();
    try {
        if (staging)
            started.staged = std::async(std::launch::async, [action] { return action->stage(); });
        else
            started.arrived = std::async(std::launch::async, [action, replaceExisting] {
                return action->process(replaceExisting);
            });
    } catch (const std::system_error&) {
        // No thread to be had: the work is done here and now.
        if (staging) {
            std::promise<std::unique_ptr<StagedTransfer>> staged;
            staged.set_value(action->stage());
            started.staged = staged.get_future();
        } else {
            std::promise<bool> arrived;
            arrived.set_value(action->process(replaceExisting));
            started.arrived = arrived.get_future();
        }
    }
    return started;
}

OverwriteAnswer TransferRun::ask(const CameraFilePtr& source, const QString& destination) {
    if (!isSignalConnected(QMetaMethod::fromSignal(&TransferRun::overwriteQuestion)))
        return {};
    {
        QMutexLocker locker(&m_answerLock);
        m_awaitingAnswer = true;
    }
    emit overwriteQuestion(source, destination);
    m_answerReady.acquire();
    QMutexLocker locker(&m_answerLock);
    return m_pendingAnswer;
}

void TransferRun::answerOverwriteQuestion(const OverwriteAnswer& answer) {
    QMutexLocker locker(&m_answerLock);
    if (!m_awaitingAnswer)
        return;
    m_awaitingAnswer = false;
    m_pendingAnswer = answer;
    m_answerReady.release();
}
