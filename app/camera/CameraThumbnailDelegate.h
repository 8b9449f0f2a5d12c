// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class GPhotoFile;

// Told when a device file's thumbnail has arrived (main thread); match it
// to a listed file with CameraDeviceFile::is(). Not owned by the camera.
class CameraThumbnailDelegate {
public:
    virtual ~CameraThumbnailDelegate() = default;
    virtual void cameraFileThumbnailBecomeReady(GPhotoFile* file) = 0;
};
