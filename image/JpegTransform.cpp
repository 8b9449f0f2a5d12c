// SPDX-License-Identifier: GPL-3.0-or-later
#include "JpegTransform.h"

#include "JpegCoefficientTransformer.h"

#include <FileCopy.h>
#include <FileManagerUtils.h>

#include <QFile>

#include <cstdlib>
#include <cstring>

QByteArray jpegTransformData(const QByteArray& bytes, int transform) {
    return JpegCoefficientTransformer::transformed(bytes, transform);
}

char* jpegTransform(const char* path, int transform) {
    if (!path)
        return nullptr;
    const QString source = QFile::decodeName(path);
    QByteArray bytes;
    if (!FileCopy::readContents(source, &bytes))
        return nullptr;
    const QByteArray transformed = jpegTransformData(bytes, transform);
    bytes.clear();
    if (transformed.isEmpty())
        return nullptr;

    const QString target = FileManagerUtils::temporaryFilename(source);
    // On disk before it is renamed over the original.
    if (target.isEmpty() || !FileCopy::writeContents(target, transformed)) {
        if (!target.isEmpty())
            QFile::remove(target);
        return nullptr;
    }
    return strdup(QFile::encodeName(target).constData());
}
