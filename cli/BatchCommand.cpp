// SPDX-License-Identifier: GPL-3.0-or-later
#include "BatchCommand.h"

#include "InterruptGuard.h"
#include "ProgressLine.h"

#include "batch/BatchProcessRun.h"

#include <QDir>
#include <QFileInfo>

namespace {

void print(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

} // namespace

BatchCommand::BatchCommand(const BatchCommandOptions& commandOptions, const UserDefaults& store,
                           FILE* output, FILE* errors)
    : m_options(commandOptions)
    , m_settings(store)
    , m_out(output)
    , m_err(errors) {}

BatchOptions BatchCommand::batchOptions() const {
    BatchOptions options = BatchOptions::fromSettings(m_settings);
    if (m_options.resizePixels) {
        options.resize = BatchOptions::Resize::ToPixels;
        options.resizePixels = *m_options.resizePixels;
    } else if (m_options.resizePercent) {
        options.resize = BatchOptions::Resize::ByPercent;
        options.resizePercent = *m_options.resizePercent;
    }
    options.format = m_options.format.value_or(BatchOptions::Format::Same);
    options.copyExif = m_options.copyExif.value_or(options.copyExif);
    if (m_options.suffix) {
        options.renameFiles = true;
        options.renameSuffix = *m_options.suffix;
    }
    // Deleting is never a default here: only the command line asks for it.
    options.deleteOriginals = m_options.trashOriginals;
    const QString folder = m_options.destination.value_or(
        m_options.files.isEmpty() ? QString()
                                  : QFileInfo(m_options.files.constFirst()).absolutePath());
    options.destinationFolder = QDir::cleanPath(QDir::current().absoluteFilePath(folder));
    return options;
}

int BatchCommand::execute() {
    const BatchOptions options = batchOptions();
    const QFileInfo destination(options.destinationFolder);
    if (!destination.isDir()) {
        print(m_err, QStringLiteral("pixhaul-batch: %1: %2\n")
                         .arg(options.destinationFolder, destination.exists()
                                                             ? QStringLiteral("not a folder")
                                                             : QStringLiteral("no such folder")));
        return UsageError;
    }

    QStringList images;
    QList<qint64> sizes; // read now: a source may be in the Trash when its turn ends
    qint64 totalBytes = 0;
    int unreadable = 0;
    for (const QString& file : std::as_const(m_options.files)) {
        const QFileInfo info(file);
        if (!info.isFile() || !info.isReadable()) {
            print(m_err, QStringLiteral("pixhaul-batch: %1: %2\n")
                             .arg(file, !info.exists() ? QStringLiteral("no such file")
                                        : info.isDir() ? QStringLiteral("a folder, not a picture")
                                                       : QStringLiteral("cannot be read")));
            ++unreadable;
            continue;
        }
        images.append(info.absoluteFilePath());
        sizes.append(info.size());
        totalBytes += info.size();
    }
    if (images.isEmpty()) {
        print(m_err, QStringLiteral("pixhaul-batch: no readable FILE\n"));
        return UsageError;
    }

    BatchProcessRun run(images, options);
    ProgressLine progress(m_err, int(images.size()), totalBytes);
    // The run works on this thread: every report arrives directly.
    QObject::connect(&run, &BatchProcessRun::imageStarted, [&](int, const QString& source) {
        progress.fileStarted(QFileInfo(source).fileName());
    });
    QObject::connect(&run, &BatchProcessRun::imageFinished, [&](const BatchOutcome& outcome) {
        progress.bytesDone(sizes.value(outcome.index));
    });
    InterruptGuard::forwardTo(&run.cancelFlag());
    const BatchSummary summary = run.run();
    InterruptGuard::forwardTo(nullptr);
    progress.finish();
    printSummary(summary, unreadable);

    if (InterruptGuard::interrupted())
        return Interrupted;
    return summary.failed > 0 || unreadable > 0 ? SomeFailed : Success;
}

void BatchCommand::printSummary(const BatchSummary& summary, int unreadable) const {
    print(m_out, QStringLiteral("%1 picture(s) written to %2, %3 failed.\n")
                     .arg(summary.written)
                     .arg(batchOptions().destinationFolder)
                     .arg(summary.failed + unreadable));
    if (summary.canceled && summary.notStarted > 0)
        print(m_out,
              QStringLiteral("Stopped: %1 picture(s) not processed.\n").arg(summary.notStarted));
    for (const BatchOutcome& failure : summary.failures)
        print(m_out, QStringLiteral("Failed: %1: %2\n").arg(failure.source, failure.reason));
}
