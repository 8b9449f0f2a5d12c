// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TransitionKind.h"

#include <QColor>

class UserDefaults;

// Constants the viewer's controller and views share. Any thread.
class ImageViewer {
public:
    ImageViewer() = delete;

    // Seconds a change of picture takes: 1 for a fade, 0.3 for a slide,
    // 0 for none (or an unknown kind).
    static double transitionDuration(TransitionKind kind);
    // The colour behind the pictures, as the user chose it.
    static QColor backgroundColor(const UserDefaults& settings);
};
