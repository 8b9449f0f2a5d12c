// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>

// A file's thumbnail through the shared cache: a valid cached one when
// there is one; else, unless a failure is recorded for the file as it is
// now, one made by ThumbnailMaker and stored (or the failure recorded).
// Nothing is cached for files inside the cache. Any thread.
namespace ThumbnailLoader {

struct Result {
    QImage image;        // null when there is none
    bool failed = false; // no thumbnail can be made of the file as it is
};

Result load(const QString& path, int pixels);

} // namespace ThumbnailLoader
