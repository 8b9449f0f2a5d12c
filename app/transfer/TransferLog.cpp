// SPDX-License-Identifier: GPL-3.0-or-later
#include "TransferLog.h"

Q_LOGGING_CATEGORY(lcTransfer, "pixhaul.transfer")
