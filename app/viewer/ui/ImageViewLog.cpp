// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageViewLog.h"

Q_LOGGING_CATEGORY(lcImageView, "pixhaul.viewer.view")
