// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BrowserItemType.h"

#include <QDateTime>
#include <QImage>
#include <QMutex>
#include <QString>
#include <QUrl>

#include <atomic>
#include <memory>

// One entry of the browsed folder: a sub-folder, an image or a movie, with
// the thumbnail the grid shows. Until the real thumbnail is loaded the item
// holds none and the views draw the icon of its kind (one icon per kind for
// the whole folder, so a large folder costs no memory per icon).
//
// Threads: made on the listing worker; the thumbnail is loaded on a
// thumbnail worker while the grid reads it on the main thread. path, type
// and creationDate never change after construction; thumbnail() and the
// flags may be read from any thread.
class BrowserItem {
public:
    // Reads the creation date (ImageUtils::getCreationDateForImage: the EXIF
    // date of digitisation, else the file's date) of an image or movie; a
    // folder's date is its file date. A folder counts as loaded at once.
    BrowserItem(const QString& path, BrowserItemType type);

    BrowserItemType type() const { return m_type; }
    QString path() const { return m_path; }
    QDateTime creationDate() const { return m_creationDate; }
    // The last path component.
    QString title() const { return m_title; }
    bool isMedia() const { return m_type != BrowserItemTypeFolder; }
    QUrl previewItemURL() const { return QUrl::fromLocalFile(m_path); }

    // Null until loaded (and after dropThumbnail()).
    QImage thumbnail() const;
    // True once no further load is to be tried (loaded, failed, or a folder).
    bool thumbnailLoaded() const { return m_thumbnailLoaded.load(); }
    // True when the last load found no thumbnail to make: the item keeps its
    // icon and is never tried again for the life of this item.
    bool thumbnailFailed() const { return m_thumbnailFailed.load(); }

    // Loads the real thumbnail once, at least `pixels` on its longer side
    // (through the shared thumbnail cache). True when a new thumbnail was set.
    bool loadThumbnailOfSize(int pixels);

    // Gives back the memory of a loaded thumbnail (the icon shows again and
    // the next load reads it back, normally from the cache). A failed item
    // stays failed.
    void dropThumbnail();

private:
    const QString m_path;
    const QString m_title;
    const BrowserItemType m_type;
    const QDateTime m_creationDate;
    mutable QMutex m_thumbnailLock;
    QImage m_thumbnail;
    std::atomic<bool> m_thumbnailLoaded{false};
    std::atomic<bool> m_thumbnailFailed{false};
};

using BrowserItemPtr = std::shared_ptr<BrowserItem>;
