// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "camera/gphoto/GPhotoDeviceInfo.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QTemporaryDir>

// A folder that libgphoto2's "Directory Browse" driver opens as a camera
// (port "disk:<folder>"), filled by the test.
class DirectoryCamera {
public:
    DirectoryCamera();

    bool isValid() const { return m_folder.isValid(); }
    QString root() const { return m_folder.path(); }
    QString path(const QString& relative) const { return root() + QLatin1Char('/') + relative; }
    GPhotoDeviceInfo info() const;

    // Writes a file below the root with the given contents and time stamp.
    bool add(const QString& relative, const QByteArray& contents,
             const QDateTime& modified = QDateTime());

    // A small JPEG of the given size and colour, carrying an EXIF thumbnail
    // of `thumbnailWidth` pixels across when that is positive.
    static QByteArray jpeg(int width, int height, Qt::GlobalColor color, int thumbnailWidth = 0);

private:
    QTemporaryDir m_folder;
};
