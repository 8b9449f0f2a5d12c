// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// What one download request asks for.
struct GPhotoDownloadOptions {
    // The folder the file goes into; it must exist.
    QString downloadsDirectory;
    // The name in that folder; empty keeps the file's own name.
    QString saveAsFilename;
    // Replace an existing file of the same name (atomically). Without it an
    // existing file wins and the download fails.
    bool overwrite = false;
    // Also bring the file's side files; they keep their own names and
    // replace older copies of themselves.
    bool downloadSidecarFiles = false;
    // Delete the file (and the side files that arrived) on the device once
    // it stands complete under its final name.
    bool deleteAfterSuccessfulDownload = false;
};
