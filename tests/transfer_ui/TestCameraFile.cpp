// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestCameraFile.h"

#include <QFile>
#include <QFileInfo>

TestCameraFile::TestCameraFile(const QString& title, const QDateTime& date, qint64 bytes)
    : name(title)
    , taken(date)
    , size(bytes) {}

QImage TestCameraFile::thumbnail() const {
    QMutexLocker locker(&lock);
    return image;
}

void TestCameraFile::setThumbnail(const QImage& thumbnail) {
    QMutexLocker locker(&lock);
    image = thumbnail;
}

bool TestCameraFile::transferFileTo(const QString& destination, TransferMode,
                                    bool replaceExisting) {
    started = true;
    if (gated.exchange(false))
        gate.acquire();
    if (failing)
        return false;
    if (QFileInfo::exists(destination) && !replaceExisting)
        return false;
    QFile file(destination);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    return file.write(QByteArray(size, 'x')) == size;
}
