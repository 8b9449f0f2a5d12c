// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QLoggingCategory>

// Diagnostics of the viewer's image views (transitions, gestures).
Q_DECLARE_LOGGING_CATEGORY(lcImageView)
