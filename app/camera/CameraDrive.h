// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "Camera.h"
#include "CameraDriveFile.h"

#include <QStringList>

#include <functional>

// A mounted card, volume or folder laid out like a camera's memory card:
// "DCIM" holds the picture tree (every file below it is listed), "PRIVATE"
// the movie tree (only files with a movie extension). A drive built by
// hand with path and imagePath set to one folder lists that whole folder.
//
// Threads: title() on the main thread (it caches without a lock; ask it
// before any listing starts), listing on a worker.
class CameraDrive : public Camera {
public:
    CameraDrive() = default;
    // Recognises the card layout directly inside `path`.
    explicit CameraDrive(const QString& path);

    QString path() const { return m_drivePath; }
    void setPath(const QString& path) { m_drivePath = path; }
    QString imagePath() const { return m_pictureRoot; }
    void setImagePath(const QString& path) { m_pictureRoot = path; }
    QString videoPath() const { return m_movieRoot; }
    void setVideoPath(const QString& path) { m_movieRoot = path; }

    // True when the drive has a picture or a movie tree.
    bool isDefined() const;

    // Model (or Make and Model) of the first picture's EXIF data, else the
    // folder's name; empty while the picture tree has no file.
    QString title() override;
    QList<CameraFilePtr> getFilesButImagesOnly(bool imagesOnly, bool stopAtFirst) override;

    // Movie extensions of the movie tree, in lower case.
    static const QStringList& movieExtensions();
    static bool hasMovieExtension(const QString& path);

    // Every non-hidden file below `folder`, depth first, entries of each
    // folder in name order; hidden folders are not entered, unreadable ones
    // contribute nothing. Symbolic links count as files and are not followed.
    static QList<CameraFilePtr> scanFolderRecursive(const QString& folder, bool stopAtFirst,
                                                    bool filesAreMoveable);

private:
    using Filter = std::function<bool(const QString& path)>;
    static QList<CameraFilePtr> scan(const QString& folder, bool stopAtFirst, bool moveable,
                                     const Filter& accept);
    static bool scanInto(const QString& folder, bool stopAtFirst, bool moveable,
                         const Filter& accept, QList<CameraFilePtr>& found);

    QString m_cachedTitle;
    QString m_drivePath;
    QString m_pictureRoot;
    QString m_movieRoot;
};
