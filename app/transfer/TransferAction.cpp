// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferAction.h"

#include "FileUtils.h"
#include "ImportHistory.h"
#include "TransferLog.h"
#include "UserDefaults.h"
#include "camera/StagedTransfer.h"
#include "settings/SettingsKeys.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <sys/stat.h>

namespace {

// A failure here shows up as a failed transfer. One mkdir in the usual
// case, a folder made for the files before; the whole path otherwise.
void makeFolderOf(const QString& path) {
    const QString folder = QFileInfo(path).absolutePath();
    if (::mkdir(QFile::encodeName(folder).constData(), 0777) != 0 && errno != EEXIST)
        QDir().mkpath(folder);
}

} // namespace

TransferAction::TransferAction(TransferMode mode, const CameraFilePtr& source,
                               const QString& destination, UserDefaults& store)
    : m_transferMode(mode)
    , m_sourceFile(source)
    , m_destinationPath(destination)
    , m_settings(&store) {}

bool TransferAction::process(bool replaceExisting) {
    if (!m_sourceFile)
        return false;
    makeFolderOf(m_destinationPath);

    // Read before the transfer: a moved file is gone afterwards.
    const QDateTime created = m_sourceFile->creationDate();
    const QDateTime modified = m_sourceFile->modificationDate();
    m_importRecord.reset();
    const std::optional<ImportRecord> record =
        m_recordsImport ? ImportHistory::recordFor(*m_sourceFile, created, m_destinationPath)
                        : std::nullopt;
    m_sourceFile->setVerifiesCopies(shouldVerify());

    const bool arrived =
        shouldRotate()
            ? m_sourceFile->transferUprightFileTo(m_destinationPath, m_transferMode,
                                                  replaceExisting)
            : m_sourceFile->transferFileTo(m_destinationPath, m_transferMode, replaceExisting);
    if (!arrived) {
        qCWarning(lcTransfer) << "transfer of" << m_sourceFile->title() << "to" << m_destinationPath
                              << "failed";
        return false;
    }
    // After any rotation, which rewrites the file.
    FileUtils::setCreationDate(created, m_destinationPath);
    FileUtils::setModificationDate(modified, m_destinationPath);
    m_importRecord = record;
    return true;
}

bool TransferAction::canStage() const {
    return m_sourceFile && m_sourceFile->supportsStaging();
}

std::unique_ptr<StagedTransfer> TransferAction::stage() {
    m_importRecord.reset();
    if (!m_sourceFile)
        return nullptr;
    makeFolderOf(m_destinationPath);
    m_stagedCapture = m_sourceFile->creationDate();
    m_sourceFile->setVerifiesCopies(shouldVerify());
    std::unique_ptr<StagedTransfer> staged =
        m_sourceFile->stageTransferTo(m_destinationPath, m_transferMode, shouldRotate());
    if (!staged) {
        qCWarning(lcTransfer) << "transfer of" << m_sourceFile->title() << "to" << m_destinationPath
                              << "failed";
        return nullptr;
    }
    return staged;
}

void TransferAction::published() {
    if (m_recordsImport && m_sourceFile)
        m_importRecord =
            ImportHistory::recordFor(*m_sourceFile, m_stagedCapture, m_destinationPath);
}

qint64 TransferAction::bytes() const {
    return m_sourceFile ? m_sourceFile->fileSize() : 0;
}

bool TransferAction::shouldRotate() const {
    if (m_rotateOverride)
        return *m_rotateOverride;
    return m_settings->boolForKey(QLatin1String(SettingsKeys::transfer_rotate));
}

bool TransferAction::shouldVerify() const {
    if (m_verifyOverride)
        return *m_verifyOverride;
    return m_settings->boolForKey(QLatin1String(SettingsKeys::transfer_verify));
}
