// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>

// Resampling with a Lanczos-3 filter, one axis after the other (vertical
// first, where the work runs over whole rows). When reducing, the kernel is
// widened by the ratio so every source pixel contributes: no aliasing, and
// the sharpness the best resizers keep. Any thread.
namespace LanczosScaler {

// `image` resampled to exactly `size` (a null image when either is empty).
// Grayscale8, RGB888, RGBX8888, RGBA8888_Premultiplied, Grayscale16,
// RGBX64 and RGBA64_Premultiplied are worked on as they are; other formats
// are first converted to the nearest of these. Premultiplied results stay
// valid (no colour above its alpha). The colour space is kept.
QImage scaled(const QImage& image, const QSize& size);

} // namespace LanczosScaler
