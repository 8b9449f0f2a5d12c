// SPDX-License-Identifier: GPL-3.0-or-later
#include "CameraFile.h"

#include "ImageUtils.h"
#include "StagedTransfer.h"

CameraFile::~CameraFile() = default;

QString CameraFile::title() const {
    return {};
}

qint64 CameraFile::fileSize() const {
    return 0;
}

QDateTime CameraFile::creationDate() const {
    return {};
}

QDateTime CameraFile::modificationDate() const {
    return {};
}

QImage CameraFile::thumbnail() const {
    return {};
}

void CameraFile::readForScan(const FingerprintWanted&) const {
    creationDate();
    fileSize();
}

bool CameraFile::transferFileTo(const QString&, TransferMode, bool) {
    return false;
}

bool CameraFile::transferUprightFileTo(const QString& destination, TransferMode mode,
                                       bool replaceExisting) {
    if (!transferFileTo(destination, mode, replaceExisting))
        return false;
    // The file has arrived; one left as it is loses nothing.
    ImageUtils::autoLosslessRotateImage(destination);
    return true;
}

std::unique_ptr<StagedTransfer> CameraFile::stageTransferTo(const QString&, TransferMode, bool) {
    return nullptr;
}
