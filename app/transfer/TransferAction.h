// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ImportRecord.h"
#include "camera/CameraFile.h"
#include "camera/TransferMode.h"

#include <QDateTime>
#include <QString>

#include <memory>
#include <optional>

class StagedTransfer;
class UserDefaults;

// Carries one camera file to one destination path: makes the folder,
// copies or moves the file (never leaving a partial file under its final
// name), rotates a JPEG to its EXIF orientation when "transfer_rotate" asks
// for it, and gives it the source's dates. Runs on the transfer worker.
// The settings store it reads must outlive it.
class TransferAction {
public:
    TransferAction(TransferMode mode, const CameraFilePtr& source, const QString& destination,
                   UserDefaults& settings);

    TransferMode mode() const { return m_transferMode; }
    void setMode(TransferMode mode) { m_transferMode = mode; }
    CameraFilePtr source() const { return m_sourceFile; }
    void setSource(const CameraFilePtr& source) { m_sourceFile = source; }
    QString destination() const { return m_destinationPath; }
    void setDestination(const QString& destination) { m_destinationPath = destination; }

    // Rotation decided by the caller instead of the setting (the command
    // line's --rotate / --no-rotate); unset, the setting is read per file.
    void setRotateOverride(std::optional<bool> rotate) { m_rotateOverride = rotate; }
    // Verification of copies decided by the caller (--verify) instead of
    // "transfer_verify"; moves that copy verify always.
    void setVerifyOverride(std::optional<bool> verify) { m_verifyOverride = verify; }

    // With `record`, process() takes the source's import record (name,
    // size, capture date, fingerprint) before the transfer, and
    // importRecord() hands it over once the file has arrived.
    void setRecordsImport(bool record) { m_recordsImport = record; }
    const std::optional<ImportRecord>& importRecord() const { return m_importRecord; }

    // Transfers the file. An existing file at the destination is replaced
    // (atomically, once the new one is complete) only with `replaceExisting`.
    // True when the file has arrived.
    bool process(bool replaceExisting = false);

    // Whether stage() can carry this file (a card's), so that the run
    // flushes it to disk with others.
    bool canStage() const;
    // The first half of process(): makes the folder and writes the file
    // under a hidden name beside its destination, the source's dates given
    // already, without flushing or publishing it (see StagedTransfer). Null
    // when that failed. Call published() once it stands under its name,
    // before a moved source is removed: the record is taken then, off the
    // path of the next file's copy.
    std::unique_ptr<StagedTransfer> stage();
    void published();

    // The source's size: how far the progress advances for this action.
    qint64 bytes() const;

    // Whether the file is turned upright on the way ("transfer_rotate",
    // read for each file, unless overridden).
    bool shouldRotate() const;
    // Whether a copy is read back and compared ("transfer_verify", unless
    // overridden).
    bool shouldVerify() const;

private:
    TransferMode m_transferMode;
    CameraFilePtr m_sourceFile;
    QString m_destinationPath;
    std::optional<bool> m_rotateOverride;
    std::optional<bool> m_verifyOverride;
    bool m_recordsImport = false;
    std::optional<ImportRecord> m_importRecord;
    QDateTime m_stagedCapture; // the capture date read by stage()
    UserDefaults* m_settings;
};

using TransferActionPtr = std::shared_ptr<TransferAction>;
