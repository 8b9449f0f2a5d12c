// SPDX-License-Identifier: GPL-3.0-or-later
#include "CameraFile.h"

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

bool CameraFile::transferFileTo(const QString&, int, bool) {
    return false;
}
