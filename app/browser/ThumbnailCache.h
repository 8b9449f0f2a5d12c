// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

// The freedesktop thumbnail cache shared with other desktop programs:
// <root>/{normal,large,x-large,xx-large}/<md5 of the file:// URI>.png for
// 128, 256, 512 and 1024 pixels, PNGs carrying Thumb::URI, Thumb::MTime,
// Thumb::Size, Thumb::Mimetype, Thumb::Image::Width/Height and Software;
// failures recorded under fail/pixhaul-<version>/. Entries are written
// under a temporary name in their folder and renamed; files 0600, folders
// 0700. Nothing is cached for files inside the cache itself. Stateless
// apart from its root: any thread.
class ThumbnailCache {
public:
    // $XDG_CACHE_HOME/thumbnails (~/.cache/thumbnails).
    ThumbnailCache();
    explicit ThumbnailCache(const QString& root);

    QString root() const { return m_root; }

    // The fully percent-encoded file:// URI of an absolute path.
    static QString uriForPath(const QString& path);
    // The size folder whose pixels cover `pixels` (xx-large beyond).
    static QString sizeFolderFor(int pixels);
    static int pixelsOfSizeFolder(const QString& folder);
    // Where the thumbnail of `path` of the size folder lives.
    QString thumbnailPath(const QString& path, const QString& sizeFolder) const;

    // A valid thumbnail of `path` at least `pixels` large (or the largest
    // there is when none is), whose Thumb::MTime matches the file; null
    // when there is none or it is stale.
    QImage read(const QString& path, int pixels) const;
    // Stores `thumbnail` of `path` in the folder for its size.
    bool write(const QString& path, const QImage& thumbnail, int originalWidth = 0,
               int originalHeight = 0) const;

    // Whether a failure is recorded for `path` as it is now.
    bool hasFailed(const QString& path) const;
    void recordFailure(const QString& path) const;

    bool isInsideCache(const QString& path) const;

private:
    QString m_root;
};
