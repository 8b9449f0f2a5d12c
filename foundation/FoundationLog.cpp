// SPDX-License-Identifier: GPL-3.0-or-later
#include "FoundationLog.h"

Q_LOGGING_CATEGORY(lcFoundation, "pixhaul.foundation")
