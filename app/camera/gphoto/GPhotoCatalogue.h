// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GPhotoFile.h"

#include <QList>
#include <QString>

class GPhotoSession;

// Reads a device's media catalogue: every picture and movie of every
// folder, depth-first, each folder's files before its sub-folders, all in
// the order the device lists them. Files that only accompany a picture or
// movie of the same base name (".THM", ".XMP", unknown types) become its
// side files instead of catalogue entries. Worker thread of the device.
class GPhotoCatalogue {
public:
    // False, with a one-line reason, when the top folder cannot be listed;
    // a sub-folder that cannot be listed is left out.
    static bool read(GPhotoSession& session, QList<GPhotoFilePtr>& files, QString& error);

    // True for side-file types even when the device calls them images
    // (a ".THM" is a small JPEG).
    static bool isSidecarName(const QString& name);
};
