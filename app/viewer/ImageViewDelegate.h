// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// What the viewer's image views report to the viewer controller. Main thread
// only.
class ImageViewDelegate {
public:
    virtual ~ImageViewDelegate() = default;

    // A new picture is in place: at once for a change without transition,
    // at the end of the transition otherwise.
    virtual void imageUpdateCompleted() = 0;
    virtual void imageViewDoubleClicked() = 0;
    // A two-finger swipe asked for the next or the previous picture.
    virtual void nextImage() = 0;
    virtual void prevImage() = 0;

protected:
    ImageViewDelegate() = default;
    ImageViewDelegate(const ImageViewDelegate&) = default;
    ImageViewDelegate& operator=(const ImageViewDelegate&) = default;
};
