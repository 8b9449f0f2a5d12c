// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "TransitionKind.h"

#include <QtGlobal>

class DrawingImageBase;

// Positions, offsets and opacities of the two pictures while the view
// changes from one to the other. The view fits both pictures, calls start(),
// then advance() on each tick with the progress; it owns the timing. Works
// for either kind of drawing image: each converts view distances into its
// own offset units. Main thread only.
namespace ImageTransition {

// Directions in radians in which a fade moves the pictures: the outgoing
// one away along `outgoing`, the incoming one in along `incoming`.
struct FadeAngles {
    double outgoing = 0.0;
    double incoming = 0.0;
};

// Two uniformly spread directions from a generator seeded with `seed`.
FadeAngles fadeAngles(quint32 seed);
// Seeded with the current time in whole seconds.
FadeAngles randomFadeAngles();

// Sets the offsets of both pictures for `kind`, moves the incoming one to
// where it starts (and makes it transparent for a fade), then records each
// picture's offset as its start position. A fade drifts each picture by its
// fadeDrift() of the view's size; a slide moves both by 1.05 view widths,
// so the incoming picture starts a gap of 5% beyond the edge and ends where
// it was fitted, and the outgoing one leaves the view. `None` only records
// the start positions.
void start(TransitionKind kind, DrawingImageBase& current, DrawingImageBase& incoming,
           const FadeAngles& angles = randomFadeAngles());

// Moves both pictures to `progress` (0 to 1) of their offsets; a fade also
// crosses their opacities.
void advance(TransitionKind kind, DrawingImageBase& current, DrawingImageBase& incoming,
             double progress);

} // namespace ImageTransition
