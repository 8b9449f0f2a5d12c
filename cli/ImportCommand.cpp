// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImportCommand.h"

#include "InterruptGuard.h"
#include "ProgressLine.h"
#include "TerminalPrompter.h"

#include "DeviceCameraSource.h"

#include "ByteCountFormatter.h"
#include "UserDefaults.h"
#include "camera/CameraDevice.h"
#include "camera/CameraDrive.h"
#include "settings/SettingsKeys.h"
#include "transfer/DescriptionHistory.h"
#include "transfer/ImportHistory.h"
#include "transfer/TransferRun.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace {

void print(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

ImportCommand::ImportCommand(const ImportOptions& importOptions, UserDefaults& store, FILE* output,
                             FILE* errors)
    : m_options(importOptions)
    , m_settings(store)
    , m_out(output)
    , m_err(errors) {}

ImportCommand::~ImportCommand() = default;

int ImportCommand::listCameras() {
    const QList<GPhotoDeviceInfo> cameras = DeviceCameraSource::connectedCameras();
    if (cameras.isEmpty())
        print(m_out, QStringLiteral("No cameras found.\n"));
    for (const GPhotoDeviceInfo& camera : cameras) {
        // Cards show up as folders: import those by their path instead.
        print(m_out,
              camera.identifier() + (camera.isMassStorage() ? QStringLiteral("  (mass storage)\n")
                                                            : QStringLiteral("\n")));
    }
    return Success;
}

bool ImportCommand::openCamera() {
    QString error;
    m_deviceCamera = DeviceCameraSource::open(*m_options.camera, error);
    if (!m_deviceCamera) {
        print(m_err, QStringLiteral("pixhaul-import: %1\n").arg(error));
        return false;
    }
    m_sourceFolder = *m_options.camera;
    return true;
}

int ImportCommand::execute() {
    if (m_options.listCameras)
        return listCameras();
    if (m_options.camera && !openCamera())
        return UsageError;
    const QFileInfo source(m_options.source);
    if (!m_deviceCamera && !source.exists()) {
        print(m_err, QStringLiteral("pixhaul-import: %1: no such folder\n").arg(m_options.source));
        return UsageError;
    }
    if (!m_deviceCamera && !source.isDir()) {
        print(m_err, QStringLiteral("pixhaul-import: %1: not a folder\n").arg(m_options.source));
        return UsageError;
    }
    if (!m_deviceCamera)
        m_sourceFolder = QDir::cleanPath(source.absoluteFilePath());

    const QString pattern = m_options.destinationPattern.value_or(
        m_settings.stringForKey(QLatin1String(SettingsKeys::transfer_destination)));
    if (pattern.trimmed().isEmpty()) {
        print(m_err, QStringLiteral("pixhaul-import: no destination pattern (--dest)\n"));
        return UsageError;
    }
    m_transferer.setMode(m_options.mode.value_or(
        m_settings.integerForKey(QLatin1String(SettingsKeys::transfer_mode)) != 0
            ? TransferModeMove
            : TransferModeCopy));

    ImportHistory history;
    const auto readAhead = [&history](const QList<CameraFilePtr>& listed) {
        return history.readAheadFor(listed);
    };
    // A card is read by its layout; any other folder is imported whole.
    if (m_deviceCamera) {
        m_transferer.scanCamera(*m_deviceCamera, readAhead);
    } else {
        CameraDrive drive(m_sourceFolder);
        if (!drive.isDefined()) {
            drive.setImagePath(m_sourceFolder);
            drive.setVideoPath({});
        }
        m_transferer.scanCamera(drive, readAhead);
    }
    if (m_transferer.targets().isEmpty()) {
        print(m_out, QStringLiteral("No files to import in %1.\n").arg(m_sourceFolder));
        return Success;
    }
    const int imported = sortOutImported(history);
    if (m_transferer.targets().isEmpty()) {
        print(m_out, QStringLiteral("No new files to import in %1 (%2 already imported).\n")
                         .arg(m_sourceFolder)
                         .arg(imported));
        return Success;
    }
    if (!settleGroups(pattern) || InterruptGuard::interrupted())
        return Interrupted;

    const QList<TransferActionPtr> actions = m_transferer.getActionsFor(pattern, m_settings);
    const SpaceCheck space = SpaceCheck::forActions(actions, overwriteMode() == OverwriteModeSkip);
    if (m_options.dryRun) {
        printPlan(pattern);
        qsizetype files = 0;
        for (const TransferTarget& group : m_transferer.targets())
            files += group.items().size();
        print(m_out, QStringLiteral("%1 new, %2 already imported\n")
                         .arg(m_options.newOnly ? files : files - imported)
                         .arg(imported));
        printSpace(space);
    }
    if (!space.fits()) {
        print(m_err, QStringLiteral("pixhaul-import: %1\n").arg(space.shortage()));
        return UsageError;
    }
    if (m_options.dryRun)
        return Success;
    return transfer(actions);
}

int ImportCommand::sortOutImported(const ImportHistory& history) {
    QList<CameraFilePtr> files;
    for (const TransferTarget& group : m_transferer.targets())
        files += group.items();
    QSet<const CameraFile*> known;
    for (const CameraFilePtr& file : history.importedAmong(files))
        known.insert(file.get());
    if (m_options.newOnly)
        m_transferer.removeFiles(
            [&known](const CameraFilePtr& file) { return known.contains(file.get()); });
    return int(known.size());
}

OverwriteMode ImportCommand::overwriteMode() const {
    return m_options.overwriteMode.value_or(static_cast<OverwriteMode>(
        m_settings.integerForKey(QLatin1String(SettingsKeys::transfer_overwrite_mode))));
}

bool ImportCommand::settleGroups(const QString& pattern) {
    if (!pattern.contains(QLatin1String("%P")))
        return true;
    QList<TransferTarget>& groups = m_transferer.targets();
    if (m_options.description) {
        for (TransferTarget& group : groups)
            group.setDescription(*m_options.description);
        if (!m_options.dryRun)
            DescriptionHistory(m_settings).remember(*m_options.description);
        return true;
    }
    // Nobody to ask (a script, a pipe) or only a plan wanted: no descriptions.
    if (m_options.dryRun || !TerminalPrompter::inputIsTerminal())
        return true;
    TerminalPrompter prompter(m_err, m_settings);
    for (qsizetype i = 0; i < groups.size(); ++i) {
        if (!prompter.askGroup(groups[i], static_cast<int>(i), static_cast<int>(groups.size())))
            return !InterruptGuard::interrupted();
    }
    return !InterruptGuard::interrupted();
}

void ImportCommand::printPlan(const QString& pattern) const {
    for (const TransferTarget& group : m_transferer.targets()) {
        qint64 bytes = 0;
        for (const CameraFilePtr& file : group.items())
            bytes += file->fileSize();
        const QString folder = Transferer::calcTargetFolderForFile({}, group, pattern);
        print(m_out, QStringLiteral("%1  %2 file(s)  %3  %4\n")
                         .arg(group.date().toLocalTime().date().toString(Qt::ISODate))
                         .arg(group.items().size())
                         .arg(ByteCountFormatter::stringFromByteCount(
                             bytes, QStringLiteral("B"), ByteCountFormatter::DecimalCountStyle))
                         .arg(folder));
    }
}

void ImportCommand::printSpace(const SpaceCheck& space) const {
    for (const SpaceCheck::Volume& volume : space.volumes()) {
        auto bytes = [](qint64 count) {
            return ByteCountFormatter::stringFromByteCount(count, QStringLiteral("B"),
                                                           ByteCountFormatter::DecimalCountStyle);
        };
        print(m_out,
              QStringLiteral("File system %1: %2 to write, %3 free\n")
                  .arg(volume.mountPoint, bytes(volume.bytesToWrite), bytes(volume.bytesFree)));
        for (const QString& folder : volume.folders)
            print(m_out, QStringLiteral("  %1\n").arg(folder));
    }
}

int ImportCommand::transfer(const QList<TransferActionPtr>& actions) {
    for (const TransferActionPtr& action : actions) {
        action->setRotateOverride(m_options.rotate);
        if (m_options.verify)
            action->setVerifyOverride(true);
    }
    const bool verifies = m_transferer.mode() == TransferModeMove || m_options.verify ||
                          m_settings.boolForKey(QLatin1String(SettingsKeys::transfer_verify));
    if (m_deviceCamera && verifies)
        print(m_err, QStringLiteral("pixhaul-import: the camera offers no content hash; each "
                                    "download is checked by its size only\n"));

    TransferRun run(actions, m_settings);
    run.setOverwriteModeOverride(m_options.overwriteMode);
    run.setImportHistory(ImportHistory::defaultPath());
    // Files flushed together at most; smaller for tests that stop a run
    // between two batches.
    run.setBatchLimits(qEnvironmentVariableIntValue("PIXHAUL_BATCH_FILES"), 0);
    ProgressLine progress(m_err, static_cast<int>(actions.size()), m_transferer.totalBytes());
    TerminalPrompter prompter(m_err, m_settings);
    // The run works on this thread, so every report arrives directly and
    // the question is answered before the run goes on.
    QObject::connect(&run, &TransferRun::fileStarted, [&](const CameraFilePtr& source, bool) {
        progress.fileStarted(source->title());
    });
    QObject::connect(&run, &TransferRun::bytesDone,
                     [&](qint64 bytes) { progress.bytesDone(bytes); });
    QObject::connect(&run, &TransferRun::overwriteQuestion,
                     [&](const CameraFilePtr& source, const QString& destination) {
                         progress.finish();
                         run.answerOverwriteQuestion(
                             prompter.askOverwrite(source->title(), destination));
                     });

    InterruptGuard::forwardTo(&run.cancelFlag());
    // A device answers its downloads on this thread: the run then works
    // on a worker while this thread delivers them.
    TransferSummary summary;
    if (m_deviceCamera)
        DeviceCameraSource::runBesideEventLoop([&] { summary = run.run(); });
    else
        summary = run.run();
    InterruptGuard::forwardTo(nullptr);
    progress.finish();
    printSummary(summary);

    if (InterruptGuard::interrupted())
        return Interrupted;
    return summary.failed > 0 ? SomeFailed : Success;
}

void ImportCommand::printSummary(const TransferSummary& summary) const {
    print(m_out, QStringLiteral("%1 file(s) transferred, %2 skipped, %3 failed from %4.\n")
                     .arg(summary.transferred)
                     .arg(summary.skipped)
                     .arg(summary.failed)
                     .arg(m_sourceFolder));
    if (summary.canceled)
        print(m_out,
              QStringLiteral("Stopped: %1 file(s) not transferred.\n").arg(summary.notStarted));
    for (const QString& name : summary.failedNames)
        print(m_out, QStringLiteral("Failed: %1\n").arg(name));
}
