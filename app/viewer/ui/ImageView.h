// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ImageSwitcher.h"
#include "ViewerPointer.h"

#include "viewer/DrawingImage.h"
#include "viewer/DrawingView.h"
#include "viewer/TransitionKind.h"

#include <QWidget>

#include <memory>

class ImageViewDelegate;
class UserDefaults;

// The viewer's image view drawn with QPainter: DrawingImages on the
// viewer's background colour, the animated change to a new picture, the
// information overlay (hidden while the user drags) and the slideshow's
// countdown badge, the pointer hidden while the user only looks, pans on
// drags that keep the picture's edges outside the view's, and double
// clicks. Keys, context-menu requests and gestures are left to the parent
// window (the viewer controller).
//
// The pictures' geometry grows upwards from the lower-left corner; it is
// flipped to Qt's downward y only where this view paints and handles
// pointer positions. Main thread only; timers run on the main event loop.
class ImageView : public QWidget, public DrawingView, private ViewerPointerView {
    Q_OBJECT
public:
    // `settings` (the background colour) must outlive the view.
    explicit ImageView(const UserDefaults& settings, QWidget* parent = nullptr);
    ~ImageView() override;

    void setDelegate(ImageViewDelegate* delegate) { m_delegate = delegate; }
    ImageViewDelegate* delegate() const override { return m_delegate; }

    int infoLevel() const { return m_infoLevel; }
    void setInfoLevel(int level);

    // Wraps a decoded picture for this view; without transition, zoom reset.
    void setImage(const QImage& image, const QString& path);
    void setImage(const QImage& image, const QString& path, TransitionKind kind, bool zoomReset);
    void setImage(std::shared_ptr<DrawingImage> image);
    // A transition is shown only when the current picture is at its fitting
    // zoom; without `zoomReset` a directly replaced picture takes over the
    // old one's zoom and position.
    void setImage(std::shared_ptr<DrawingImage> image, TransitionKind kind, bool zoomReset);
    std::shared_ptr<DrawingImage> currentImage() const { return m_switcher.currentImage(); }
    bool isInTransition() const override { return m_switcher.isInTransition(); }

    // The current picture's zoom commands (immediate); ignored during a
    // transition.
    void zoomIn();
    void zoomOut();
    void zoomFit();
    void setZoom(double zoom);

    void setup();
    void cleanup();

    ViewerPointer& pointer() { return m_pointer; }
    const ViewerPointer& pointer() const { return m_pointer; }

    void setDisplayDurationRemaining(double fraction);
    double displayDurationRemaining() const { return m_displayDurationRemaining; }
    // False while the user drags: the overlay steps aside.
    bool isInfoDisplayed() const { return m_displayInfo; }

    // DrawingView
    QSizeF viewFrameSize() const override { return QSizeF(size()); }
    void requestRedisplay() override { update(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    // Draws `image` into the widget rectangle `area`; the current picture
    // first fills it with the background.
    void drawImage(QPainter& painter, const DrawingImage& image, const QRect& area, bool incoming,
                   const QColor& background) const;
    void drawInfo(QPainter& painter, DrawingImage& image);
    // ViewerPointerView
    void drag(const QMouseEvent& event) override;
    void pointerReleased() override;
    // The countdown badge's square in widget coordinates.
    QRect durationRect() const;
    // A rectangle between the pictures' upward geometry and the widget's.
    QRectF flipped(const QRectF& rect) const;

    const UserDefaults& m_settings;
    ImageViewDelegate* m_delegate = nullptr;
    int m_infoLevel = 0;
    double m_displayDurationRemaining = 0.0;
    bool m_displayInfo = true;
    // Widget coordinates, grown by 32 points so a redraw after a few drag
    // steps still covers the moved overlay.
    QRect m_infoDisplayRect;

    ViewerPointer m_pointer;
    ImageSwitcher<DrawingImage> m_switcher;
};
