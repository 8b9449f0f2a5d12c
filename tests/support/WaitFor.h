// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

// Processes events until `condition` holds; false if it never does.
bool waitFor(const std::function<bool()>& condition, int deadlineMs = 60000);
