// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

class GPhotoDevice;
class GPhotoFile;

// Receives the outcome of one download request: exactly one of the two
// calls, on the main thread. The delegate must stay alive until then.
class GPhotoDownloadDelegate {
public:
    virtual ~GPhotoDownloadDelegate() = default;
    // None on success, else a one-line reason.
    virtual void didDownloadFile(GPhotoFile* file, const std::optional<QString>& error) = 0;
    // The device went away (or was released) before the download ended.
    virtual void didRemoveDevice(GPhotoDevice* device) = 0;
};
