// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// Diagnostics of the camera sources ("pixhaul.camera").
Q_DECLARE_LOGGING_CATEGORY(lcCamera)
