// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferRun.h"

#include "TransferLog.h"
#include "UserDefaults.h"
#include "camera/StagedFile.h"
#include "shell/SettingsKeys.h"

#include <QFile>
#include <QFileInfo>
#include <QMetaMethod>
#include <QMutexLocker>
#include <QSet>

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

TransferRun::TransferRun(const QList<TransferActionPtr>& plannedActions, QObject* parent)
    : QObject(parent)
    , actions(plannedActions) {
    Q_UNUSED(registered);
}

int TransferRun::overwriteMode() const {
    if (overwriteModeOverride)
        return *overwriteModeOverride;
    return static_cast<int>(UserDefaults::standardUserDefaults().integerForKey(
        QLatin1String(SettingsKeys::transfer_overwrite_mode)));
}

TransferSummary TransferRun::run() {
    const int mode = overwriteMode();
    bool replace = mode == OverwriteModeReplace;
    bool askUser = mode == OverwriteModeAsk;
    bool skipped = false;
    TransferSummary summary;
    QSet<QString> sweptFolders;

    for (qsizetype index = 0; index < actions.size(); ++index) {
        const TransferActionPtr& action = actions.at(index);
        const CameraFilePtr source = action->source();
        emit fileStarted(source, skipped);

        // Partial files a killed earlier run left in this folder go first.
        const QString folder = QFileInfo(action->destination()).absolutePath();
        if (!sweptFolders.contains(folder)) {
            sweptFolders.insert(folder);
            StagedFile::removeAbandonedIn(folder);
        }

        bool replaceExisting = false;
        const Occupant occupant = occupantOf(action->destination());
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
                    summary.notStarted = static_cast<int>(actions.size() - index);
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
        if (action->process(replaceExisting)) {
            ++summary.transferred;
        } else {
            ++summary.failed;
            summary.failedNames.append(source ? source->title() : action->destination());
        }
        emit bytesDone(bytes);

        if (isCanceled()) {
            summary.canceled = true;
            summary.notStarted = static_cast<int>(actions.size() - index - 1);
            break;
        }
    }
    emit finished(summary);
    return summary;
}

OverwriteAnswer TransferRun::ask(const CameraFilePtr& source, const QString& destination) {
    if (!isSignalConnected(QMetaMethod::fromSignal(&TransferRun::overwriteQuestion)))
        return {};
    {
        QMutexLocker locker(&answerLock);
        awaitingAnswer = true;
    }
    emit overwriteQuestion(source, destination);
    answerReady.acquire();
    QMutexLocker locker(&answerLock);
    return pendingAnswer;
}

void TransferRun::answerOverwriteQuestion(const OverwriteAnswer& answer) {
    QMutexLocker locker(&answerLock);
    if (!awaitingAnswer)
        return;
    awaitingAnswer = false;
    pendingAnswer = answer;
    answerReady.release();
}
