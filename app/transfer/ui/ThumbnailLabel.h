// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>

class QLabel;

// Image views of the transfer windows: labels of a fixed size showing a
// picture scaled to fit, sharp on high-density screens. Main thread.
namespace ThumbnailLabel {

// Shows `image` scaled into the label's box; a null image empties it.
void setImage(QLabel* label, const QImage& image);

} // namespace ThumbnailLabel
