// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferAction.h"

#include "FileUtils.h"
#include "TransferLog.h"
#include "UserDefaults.h"
#include "settings/SettingsKeys.h"

#include <QDir>
#include <QFileInfo>

TransferAction::TransferAction(TransferMode mode, const CameraFilePtr& source,
                               const QString& destination, UserDefaults& store)
    : transferMode(mode)
    , sourceFile(source)
    , destinationPath(destination)
    , settings(&store) {}

bool TransferAction::process(bool replaceExisting) {
    if (!sourceFile)
        return false;
    // A failure here shows up as a failed transfer below.
    QDir().mkpath(QFileInfo(destinationPath).absolutePath());

    // Read before the transfer: a moved file is gone afterwards.
    const QDateTime created = sourceFile->creationDate();
    const QDateTime modified = sourceFile->modificationDate();

    const bool arrived =
        shouldRotate()
            ? sourceFile->transferUprightFileTo(destinationPath, transferMode, replaceExisting)
            : sourceFile->transferFileTo(destinationPath, transferMode, replaceExisting);
    if (!arrived) {
        qCWarning(lcTransfer) << "transfer of" << sourceFile->title() << "to" << destinationPath
                              << "failed";
        return false;
    }
    // After any rotation, which rewrites the file.
    FileUtils::setCreationDate(created, destinationPath);
    FileUtils::setModificationDate(modified, destinationPath);
    return true;
}

qint64 TransferAction::bytes() const {
    return sourceFile ? sourceFile->fileSize() : 0;
}

bool TransferAction::shouldRotate() const {
    if (rotateOverride)
        return *rotateOverride;
    return settings->boolForKey(QLatin1String(SettingsKeys::transfer_rotate));
}
