// SPDX-License-Identifier: GPL-3.0-or-later
#include "ImageView.h"

#include "CountdownBadge.h"
#include "ImageViewLog.h"
#include "InfoOverlay.h"

#include "viewer/ImageViewDelegate.h"
#include "viewer/ImageViewer.h"
#include "viewer/ViewerInfoText.h"

#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QPaintEvent>
#include <QPainter>

#include <cmath>
#include <utility>

namespace {

// The overlay's text sits this many points inside its box.
constexpr double infoMargin = 6.0;
// How far around the overlay a redraw reaches, for the steps a drag took
// before the overlay's removal was drawn.
constexpr int infoRedrawMargin = 32;

// One axis of a drag step on a picture larger than the view: limited so its
// edges never come inside the view's, then whole points away from zero so
// the pixels moved on screen line up.
double clampedStep(double step, double offset, double extent, double zoomedSize) {
    if (extent > offset + step + zoomedSize)
        step = (extent - zoomedSize) - offset;
    else if (offset + step > 0)
        step = -offset;
    return step < 0 ? std::floor(step) : std::ceil(step);
}

} // namespace

ImageView::ImageView(const UserDefaults& settings, QWidget* parent)
    : QWidget(parent)
    , m_settings(settings)
    , m_pointer(this, *this)
    , m_switcher({
          .fit = [](DrawingImage& image) { image.zoomFit(); },
          .transitionWillStart = nullptr,
          .currentImageReplaced = nullptr,
          .imageUpdateCompleted =
              [this] {
                  if (m_delegate)
                      m_delegate->imageUpdateCompleted();
              },
          .redisplay = [this] { update(); },
      }) {
    // Every painted area is filled first, which also lets a drag move the
    // pixels on screen instead of painting the whole view.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

ImageView::~ImageView() = default;

void ImageView::setInfoLevel(int level) {
    m_infoLevel = level;
    update();
}

void ImageView::setImage(const QImage& image, const QString& path) {
    setImage(image, path, TransitionKind::None, true);
}

void ImageView::setImage(const QImage& image, const QString& path, TransitionKind kind,
                         bool zoomReset) {
    // A QImage keeps no cached renderings of itself, so there is no cache to
    // turn off before wrapping it.
    setImage(std::make_shared<DrawingImage>(image, path, this), kind, zoomReset);
}

void ImageView::setImage(std::shared_ptr<DrawingImage> image) {
    setImage(std::move(image), TransitionKind::None, true);
}

void ImageView::setImage(std::shared_ptr<DrawingImage> image, TransitionKind kind, bool zoomReset) {
    m_switcher.setImage(std::move(image), kind, zoomReset);
}

void ImageView::zoomIn() {
    if (const auto& image = currentImage(); image && !isInTransition())
        image->zoomIn();
}

void ImageView::zoomOut() {
    if (const auto& image = currentImage(); image && !isInTransition())
        image->zoomOut();
}

void ImageView::zoomFit() {
    if (const auto& image = currentImage(); image && !isInTransition())
        image->zoomFit();
}

void ImageView::setZoom(double zoom) {
    if (const auto& image = currentImage(); image && !isInTransition())
        image->setZoom(zoom);
}

void ImageView::setup() {
    m_pointer.setup();
}

void ImageView::cleanup() {
    m_switcher.clear();
    m_pointer.cleanup();
}

void ImageView::setDisplayDurationRemaining(double fraction) {
    m_displayDurationRemaining = fraction;
    update(durationRect());
}

// --- Drawing

QRect ImageView::durationRect() const {
    const int side = static_cast<int>(CountdownBadge::side);
    const int margin = static_cast<int>(CountdownBadge::margin);
    return QRect(margin, height() - margin - side, side, side);
}

QRectF ImageView::flipped(const QRectF& rect) const {
    return QRectF(rect.x(), height() - rect.y() - rect.height(), rect.width(), rect.height());
}

void ImageView::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    const QColor background = ImageViewer::backgroundColor(m_settings);
    const std::shared_ptr<DrawingImage> current = currentImage();
    if (!current) {
        painter.fillRect(rect(), background);
        return;
    }
    const std::shared_ptr<DrawingImage> incoming = m_switcher.transitionedImage();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    for (const QRect& area : event->region()) {
        drawImage(painter, *current, area, false, background);
        if (incoming)
            drawImage(painter, *incoming, area, true, background);
    }
    m_infoDisplayRect = QRect();
    if (!incoming && m_infoLevel > 0)
        drawInfo(painter, *current);
    if (CountdownBadge::isShown(m_displayDurationRemaining))
        CountdownBadge::paint(painter, durationRect(), m_displayDurationRemaining);
}

void ImageView::drawImage(QPainter& painter, const DrawingImage& image, const QRect& area,
                          bool incoming, const QColor& background) const {
    const QRectF imageRect(image.translate().x(), image.translate().y(),
                           std::round(image.zoomedWidth()), std::round(image.zoomedHeight()));
    const QRectF target = flipped(QRectF(area)) & imageRect;
    if (!incoming)
        painter.fillRect(area, background);
    if (target.isEmpty())
        return;
    // The image's rows run downwards from its top; its geometry upwards.
    const QRectF source = image.viewRectToImageRect(target);
    const QRectF rows(source.x(), image.imgHeight() - source.y() - source.height(), source.width(),
                      source.height());
    painter.setOpacity(image.alpha());
    painter.drawImage(flipped(target), image.image(), rows);
    painter.setOpacity(1.0);
}

void ImageView::drawInfo(QPainter& painter, DrawingImage& image) {
    const QString text = ViewerInfoText::text(image, m_infoLevel, false);
    const QRectF box = InfoOverlay::box(text, infoMargin);
    m_infoDisplayRect = box.toAlignedRect().adjusted(-infoRedrawMargin, -infoRedrawMargin,
                                                     infoRedrawMargin, infoRedrawMargin);
    if (m_displayInfo)
        InfoOverlay::paint(painter, box, text, infoMargin);
}

void ImageView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    // Qt reports no live resize; every resize keeps the picture fitted, as
    // a live resize would.
    if (const auto& image = currentImage(); image && !isInTransition())
        image->zoomFit();
}

// --- Drags, keys and gestures

void ImageView::drag(const QMouseEvent& event) {
    DragTracker& tracker = m_pointer.drag();
    const QPointF position = event.position();
    const bool overlayRemoved = std::exchange(m_displayInfo, false);
    if (overlayRemoved)
        update(m_infoDisplayRect);

    const auto& image = currentImage();
    if (!image) {
        tracker.moveTo(position);
        return;
    }
    const QPointF delta = tracker.delta(position);
    QPointF step(image->scrollableX()
                     ? clampedStep(delta.x(), image->translate().x(), width(), image->zoomedWidth())
                     : 0.0,
                 image->scrollableY() ? clampedStep(delta.y(), image->translate().y(), height(),
                                                    image->zoomedHeight())
                                      : 0.0);
    if (event.modifiers() & Qt::ShiftModifier)
        step = tracker.keepDominantAxis(step, position);
    if (step.isNull()) {
        tracker.moveTo(position);
        return;
    }
    image->setTranslate(image->translate() + step);
    const int dx = static_cast<int>(step.x());
    const int dy = static_cast<int>(-step.y());
    if (overlayRemoved) {
        // The overlay is still on screen until the pending redraw; moving
        // its pixels now would leave a copy behind.
        update();
    } else {
        // The pixels on screen move; Qt repaints only the uncovered strips.
        scroll(dx, dy);
        if (CountdownBadge::isShown(m_displayDurationRemaining))
            update(durationRect() | durationRect().translated(dx, dy));
    }
    tracker.moveTo(position);
}

void ImageView::pointerReleased() {
    // The overlay stepped aside for a drag; the drag is over.
    if (!m_displayInfo) {
        m_displayInfo = true;
        update(m_infoDisplayRect);
    }
}

void ImageView::keyPressEvent(QKeyEvent* event) {
    // The viewer controller handles every key.
    event->ignore();
}

void ImageView::contextMenuEvent(QContextMenuEvent* event) {
    // The viewer controller owns the menu.
    event->ignore();
}

bool ImageView::event(QEvent* event) {
    if (event->type() != QEvent::NativeGesture)
        return QWidget::event(event);
    // Pinches and swipes are the parent's to handle.
    switch (static_cast<QNativeGestureEvent*>(event)->gestureType()) {
    case Qt::ZoomNativeGesture:
        qCDebug(lcImageView) << "Magnify";
        break;
    case Qt::SwipeNativeGesture:
        qCDebug(lcImageView) << "Swipe";
        break;
    case Qt::BeginNativeGesture:
        qCDebug(lcImageView) << "Gesture detected!";
        return true;
    case Qt::EndNativeGesture:
        qCDebug(lcImageView) << "Gesture end detected!";
        return true;
    default:
        break;
    }
    event->ignore();
    return false;
}
