// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class ImageViewDelegate;
class QMouseEvent;

// What a ViewerPointer needs of the viewer view it watches: whether the view
// is changing picture, the view's own drag step, and where double clicks
// go. Both viewer views implement it. Main thread only.
class ViewerPointerView {
public:
    virtual ~ViewerPointerView() = default;

    virtual bool isInTransition() const = 0;
    virtual ImageViewDelegate* delegate() const = 0;
    // A move with the button down outside a transition; the drag tracker
    // still holds the previous position.
    virtual void drag(const QMouseEvent& event) = 0;
    // The release of a press outside a transition, before any double click
    // is reported.
    virtual void pointerReleased() {}

protected:
    ViewerPointerView() = default;
    ViewerPointerView(const ViewerPointerView&) = default;
    ViewerPointerView& operator=(const ViewerPointerView&) = default;
};
