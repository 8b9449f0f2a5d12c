// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferRun.h"

#include "TransferLog.h"
#include "UserDefaults.h"
#include "camera/StagedFile.h"
#include "settings/SettingsKeys.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaMethod>
#include <QMutexLocker>
#include <QSet>

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
    bool skipped = false;
    TransferSummary summary;
    QSet<QString> sweptFolders;

    auto count = [&summary](const TransferActionPtr& action, bool arrived) {
        if (arrived) {
            ++summary.transferred;
            return;
        }
        ++summary.failed;
        const CameraFilePtr source = action->source();
        summary.failedNames.append(source ? source->title() : action->destination());
    };
    // The transfer before the current one, still finishing on its own thread.
    std::optional<Finishing> finishing;
    auto finishPrevious = [&] {
        if (!finishing)
            return;
        count(finishing->action, finishing->arrived.get());
        emit bytesDone(finishing->bytes);
        finishing.reset();
    };

    for (qsizetype index = 0; index < m_actions.size(); ++index) {
        const TransferActionPtr& action = m_actions.at(index);
        const CameraFilePtr source = action->source();
        if (isCanceled()) {
            finishPrevious();
            summary.canceled = true;
            summary.notStarted = static_cast<int>(m_actions.size() - index);
            break;
        }

        // Partial files a killed earlier run left in this folder go first.
        const QString folder = QFileInfo(action->destination()).absolutePath();
        if (!sweptFolders.contains(folder)) {
            sweptFolders.insert(folder);
            StagedFile::removeAbandonedIn(folder);
        }

        // The same name twice (in any case, for FAT and exFAT): the second
        // one sees the first one's file.
        if (finishing && finishing->action->destination().compare(action->destination(),
                                                                  Qt::CaseInsensitive) == 0)
            finishPrevious();
        const Occupant occupant = occupantOf(action->destination());
        const bool unasked =
            occupant == Occupant::none || (occupant == Occupant::file && replace && !askUser);
        if (unasked && runsAlongside(*action)) {
            Finishing next = start(action, occupant == Occupant::file);
            finishPrevious();
            emit fileStarted(source, skipped);
            finishing = std::move(next);
            continue;
        }
        finishPrevious();
        emit fileStarted(source, skipped);

        bool replaceExisting = false;
        if (occupant == Occupant::folder) {
            qCInfo(lcTransfer) << "skipped" << action->destination() << ": a folder is there";
            skipped = true;
            ++summary.skipped;
            continue;
        }
        if (occupant == Occupant::file) {
            if (askUser) {
                const OverwriteAnswer answer = ask(source, action->destination());
                if (answer.cancel) {
                    summary.canceled = true;
                    summary.notStarted = static_cast<int>(m_actions.size() - index);
                    break;
                }
                replace = answer.doOverwrite;
                if (answer.forAll)
                    askUser = false;
            }
            if (!replace) {
                skipped = true;
                ++summary.skipped;
                continue;
            }
            // Replaced by a rename once the new file is complete, never
            // removed beforehand.
            replaceExisting = true;
        }

        const qint64 bytes = action->bytes();
        count(action, action->process(replaceExisting));
        emit bytesDone(bytes);
    }
    finishPrevious();
    if (isCanceled())
        summary.canceled = true;
    emit finished(summary);
    return summary;
}

bool TransferRun::runsAlongside(const TransferAction& action) {
    const CameraFilePtr source = action.source();
    // A turn holds a whole picture in memory; two at once would double it.
    return source && source->supportsParallelTransfers() && !action.shouldRotate();
}

TransferRun::Finishing TransferRun::start(const TransferActionPtr& action, bool replaceExisting) {
    Finishing started;
    started.action = action;
    // Read first: a moved file is gone afterwards.
    started.bytes = action->bytes();
    try {
        started.arrived = std::async(std::launch::async, [action, replaceExisting] {
            return action->process(replaceExisting);
        });
    } catch (const std::system_error&) {
        // No thread to be had: the transfer runs here and now.
        std::promise<bool> arrived;
        arrived.set_value(action->process(replaceExisting));
        started.arrived = arrived.get_future();
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
