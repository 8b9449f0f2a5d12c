// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "GPhotoDeviceInfo.h"

#include <QList>

// The cameras libgphoto2 finds connected right now (USB, and the disk ports
// of mounted cards). Blocking; call it from one worker thread at a time.
class GPhotoAutodetect {
public:
    static QList<GPhotoDeviceInfo> detect();

    // A cheap fingerprint of what is plugged in and mounted (USB device
    // nodes, the mount table). Detection costs memory inside libgphoto2's
    // USB driver on every call, so watchers detect only when this changes.
    static QByteArray connectionSignature();
};
