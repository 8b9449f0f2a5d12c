// SPDX-License-Identifier: GPL-3.0-or-later
#include "Camera.h"

Camera::~Camera() = default;
