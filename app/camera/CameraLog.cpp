// SPDX-License-Identifier: GPL-3.0-or-later
#include "CameraLog.h"

Q_LOGGING_CATEGORY(lcCamera, "pixhaul.camera")
