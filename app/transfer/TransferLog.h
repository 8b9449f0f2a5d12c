// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// Diagnostics of the transfer engine ("pixhaul.transfer").
Q_DECLARE_LOGGING_CATEGORY(lcTransfer)
