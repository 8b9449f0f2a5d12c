// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "camera/CameraFile.h"

#include <QString>

#include <memory>
#include <optional>

// Carries one camera file to one destination path: makes the folder,
// copies or moves the file (never leaving a partial file under its final
// name), rotates a JPEG to its EXIF orientation when "transfer_rotate" asks
// for it, and gives it the source's dates. Runs on the transfer worker.
class TransferAction {
public:
    TransferAction(int mode, const CameraFilePtr& source, const QString& destination);

    int mode() const { return transferMode; }
    void setMode(int mode) { transferMode = mode; }
    CameraFilePtr source() const { return sourceFile; }
    void setSource(const CameraFilePtr& source) { sourceFile = source; }
    QString destination() const { return destinationPath; }
    void setDestination(const QString& destination) { destinationPath = destination; }

    // Rotation decided by the caller instead of the setting (the command
    // line's --rotate / --no-rotate); unset, the setting is read per file.
    void setRotateOverride(std::optional<bool> rotate) { rotateOverride = rotate; }

    // Transfers the file. An existing file at the destination is replaced
    // (atomically, once the new one is complete) only with `replaceExisting`.
    // True when the file has arrived.
    bool process(bool replaceExisting = false);

    // The source's size: how far the progress advances for this action.
    qint64 bytes() const;

    // Whether the file is turned upright on the way.
    bool shouldRotate() const;

private:
    int transferMode;
    CameraFilePtr sourceFile;
    QString destinationPath;
    std::optional<bool> rotateOverride;
};

using TransferActionPtr = std::shared_ptr<TransferAction>;
