// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "CameraFile.h"

#include <QList>
#include <QString>

// Anything that can list media files and hand each of them over: a card or
// folder (CameraDrive) or a device reached through the camera-access layer.
//
// Threads: title() is asked on the main thread; listing runs on a worker.
class Camera {
public:
    Camera() = default;
    virtual ~Camera();
    Camera(const Camera&) = delete;
    Camera& operator=(const Camera&) = delete;

    // The name shown to the user; empty when there is none.
    virtual QString title() = 0;
    // The transferable files. `imagesOnly` restricts the list to the picture
    // tree; `stopAtFirst` ends the search at the first file (presence tests).
    virtual QList<CameraFilePtr> getFilesButImagesOnly(bool imagesOnly, bool stopAtFirst) = 0;
};
