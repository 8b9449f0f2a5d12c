// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// How the viewer changes from one picture to the next. The numbers are the
// ones the viewer controller and the views pass around.
enum class TransitionKind : int {
    None = 0,
    Fade = 1,
    SlideFromLeft = 2,  // the new picture comes in from the left edge
    SlideFromRight = 3, // the new picture comes in from the right edge
};
