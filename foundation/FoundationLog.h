// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// Diagnostics of zvFoundation ("pixhaul.foundation").
Q_DECLARE_LOGGING_CATEGORY(lcFoundation)
