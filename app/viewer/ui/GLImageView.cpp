// SPDX-License-Identifier: GPL-3.0-or-later
#include "GLImageView.h"

#include "CountdownBadge.h"
#include "GLTexture.h"
#include "GLTextureCache.h"
#include "GLTextureShader.h"
#include "ImageViewLog.h"
#include "InfoOverlay.h"

#include "viewer/ImageViewDelegate.h"
#include "viewer/ImageViewer.h"
#include "viewer/ViewerInfoText.h"

#include <QMouseEvent>
#include <QNativeGestureEvent>
#include <QOpenGLContext>
#include <QTouchEvent>
#include <QWheelEvent>

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace {

// The overlay's text sits this many points inside its box.
constexpr double infoMargin = 4.0;

std::vector<SwipeTracker::Touch> swipeTouches(const QTouchEvent& event) {
    std::vector<SwipeTracker::Touch> touches;
    touches.reserve(event.points().size());
    for (const QEventPoint& point : event.points())
        touches.push_back({point.id(), point.normalizedPosition().x()});
    return touches;
}

} // namespace

GLImageView::GLImageView(const UserDefaults& settings, QWidget* parent)
    : QOpenGLWidget(parent)
    , m_settings(settings)
    , m_pointer(this, *this)
    , m_switcher({
          .fit = [](GLDrawingImage& image) { image.zoomFit(false); },
          .transitionWillStart = [this] { buildTransitionTextures(); },
          .currentImageReplaced = [this] { invalidateInfoTexture(); },
          .imageUpdateCompleted = [this] { notifyImageUpdateCompleted(); },
          .redisplay = [this] { update(); },
      }) {
    setAttribute(Qt::WA_AcceptTouchEvents);
}

GLImageView::~GLImageView() {
    // The context dies in the base class's destructor; by then this object
    // is gone, so its resources are released here.
    disconnect(m_contextConnection);
    releaseGL();
}

void GLImageView::setInfoLevel(int level) {
    m_infoLevel = level;
    invalidateInfoTexture();
    update();
}

void GLImageView::setImage(std::shared_ptr<GLDrawingImage> image) {
    setImage(std::move(image), TransitionKind::None, true);
}

void GLImageView::setImage(std::shared_ptr<GLDrawingImage> image, TransitionKind kind,
                           bool zoomReset) {
    m_switcher.setImage(std::move(image), kind, zoomReset);
}

void GLImageView::zoomIn() {
    if (const auto& image = currentImage(); image && !isInTransition())
        image->zoomIn();
}

void GLImageView::zoomOut() {
    if (const auto& image = currentImage(); image && !isInTransition())
        image->zoomOut();
}

void GLImageView::zoomFit(bool animated) {
    if (const auto& image = currentImage(); image && !isInTransition())
        image->zoomFit(animated);
}

void GLImageView::setZoom(double zoom, bool animated) {
    if (const auto& image = currentImage(); image && !isInTransition())
        image->setZoom(zoom, animated);
}

void GLImageView::setup() {
    m_pointer.setup();
}

void GLImageView::cleanup() {
    m_switcher.clear();
    // Textures of pictures nobody holds any more go now rather than at the
    // next showing.
    if (m_textures && isValid()) {
        makeCurrent();
        m_textures->purge();
        m_infoTexture.reset();
        doneCurrent();
    }
    m_pointer.cleanup();
    m_swipe.cancel();
}

void GLImageView::setDisplayDurationRemaining(double fraction) {
    m_displayDurationRemaining = fraction;
    update();
}

void GLImageView::notifyImageUpdateCompleted() {
    if (m_delegate)
        m_delegate->imageUpdateCompleted();
}

// --- OpenGL

void GLImageView::initializeGL() {
    initializeOpenGLFunctions();
    m_shader = std::make_unique<GLTextureShader>();
    GLint maxTextureSize = 0;
    glGetIntegerv(GL_MAX_TEXTURE_SIZE, &maxTextureSize);
    m_maxTextureSize = maxTextureSize;
    m_textures = std::make_unique<GLTextureCache>(*m_shader, m_maxTextureSize);
    // The context goes when the view moves to another window. The pictures
    // gave their pixels to their textures, so those already drawn come back
    // blank in the new context; the viewer's view stays in its window.
    disconnect(m_contextConnection);
    m_contextConnection = connect(context(), &QOpenGLContext::aboutToBeDestroyed, this,
                                  &GLImageView::releaseGL, Qt::DirectConnection);
}

void GLImageView::releaseGL() {
    if (!m_shader)
        return;
    makeCurrent();
    m_infoTexture.reset();
    m_textures.reset();
    m_shader.reset();
    doneCurrent();
}

void GLImageView::buildTransitionTextures() {
    // Uploading a camera picture takes a while: done before the clock starts
    // so the transition's first frames are not lost to it.
    if (!m_textures || !isValid())
        return;
    makeCurrent();
    m_textures->textureFor(m_switcher.currentImage());
    m_textures->textureFor(m_switcher.transitionedImage());
    doneCurrent();
}

void GLImageView::paintGL() {
    const QColor background = ImageViewer::backgroundColor(m_settings);
    // Alpha 0 as the original surface had it; the widget is composed
    // opaquely, so the colour shows.
    glClearColor(background.redF(), background.greenF(), background.blueF(), 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    if (!m_shader || !m_shader->isValid())
        return;
    m_textures->purge();
    if (m_infoTextureStale) {
        m_infoTexture.reset();
        m_infoTextureStale = false;
    }

    const std::shared_ptr<GLDrawingImage> current = m_switcher.currentImage();
    const std::shared_ptr<GLDrawingImage> incoming = m_switcher.transitionedImage();
    if (current)
        drawImage(current, incoming != nullptr);
    if (incoming)
        drawImage(incoming, true);
    // The starting thumbnail has no path and no overlay.
    if (!incoming && m_infoLevel > 0 && current && !current->path().isEmpty())
        drawInfo(*current);
    if (CountdownBadge::isShown(m_displayDurationRemaining))
        drawSlideshowDurationRemaining();
}

void GLImageView::drawImage(const std::shared_ptr<GLDrawingImage>& image, bool inTransition) {
    GLTexture* texture = m_textures->textureFor(image);
    const GLDrawingImage::Placement place = image->placeForDraw(inTransition);
    if (texture && !place.rect.isEmpty())
        texture->drawAtRect(place.rect, place.alpha);
}

void GLImageView::drawInfo(GLDrawingImage& image) {
    const qreal ratio = devicePixelRatioF();
    if (m_infoTexture && m_infoTextureRatio != ratio)
        m_infoTexture.reset();
    if (!m_infoTexture) {
        const QString text = ViewerInfoText::text(image, m_infoLevel, true);
        m_infoTexture = std::make_unique<GLTexture>(
            *m_shader, InfoOverlay::image(text, infoMargin, ratio), m_maxTextureSize);
        m_infoTextureRatio = ratio;
    }
    // One texture pixel per device pixel, in the top-left corner.
    const QSizeF points = QSizeF(m_infoTexture->size()) / ratio;
    m_infoTexture->drawAtRect(
        deviceRect(QRectF(0, height() - points.height(), points.width(), points.height())));
}

void GLImageView::drawSlideshowDurationRemaining() {
    // Made anew at every drawing: it changes with every countdown step.
    const GLTexture badge(*m_shader,
                          CountdownBadge::image(m_displayDurationRemaining, devicePixelRatioF()),
                          m_maxTextureSize);
    badge.drawAtRect(deviceRect(QRectF(CountdownBadge::margin, CountdownBadge::margin,
                                       CountdownBadge::side, CountdownBadge::side)));
}

QRectF GLImageView::deviceRect(const QRectF& points) const {
    const double w = width();
    const double h = height();
    if (w <= 0 || h <= 0)
        return QRectF();
    return QRectF(-1 + 2 * points.x() / w, -1 + 2 * points.y() / h, 2 * points.width() / w,
                  2 * points.height() / h);
}

void GLImageView::resizeEvent(QResizeEvent* event) {
    QOpenGLWidget::resizeEvent(event);
    // Qt reports no live resize; every resize (entering full screen among
    // them) keeps the picture fitted, as a live resize would.
    if (const auto& image = currentImage(); image && !isInTransition())
        image->zoomFit(false);
}

// --- Drags, wheel and keys

void GLImageView::drag(const QMouseEvent& event) {
    DragTracker& tracker = m_pointer.drag();
    const QPointF position = event.position();
    const auto& image = currentImage();
    if (!image) {
        tracker.moveTo(position);
        return;
    }
    QPointF delta = tracker.delta(position);
    if (event.modifiers() & Qt::ShiftModifier)
        delta = tracker.keepDominantAxis(delta, position);
    // Added to the image-pixel offset as it is, not divided by the zoom; the
    // limits apply at the next drawing.
    const double dx = image->scrollableX() ? delta.x() : 0.0;
    const double dy = image->scrollableY() ? delta.y() : 0.0;
    if (dx != 0 || dy != 0) {
        image->setTranslate(image->translate() + QPointF(dx, dy));
        update();
    }
    tracker.moveTo(position);
}

void GLImageView::wheelEvent(QWheelEvent* event) {
    const auto& image = currentImage();
    if (!image || isInTransition() || image->zoom() <= 0) {
        event->ignore();
        return;
    }
    // The movement counts in lines of 5 points: a wheel notch (120 eighths
    // of a degree) is one line, and pixel deltas (touchpads) are converted
    // so that the picture follows the fingers point for point.
    const QPointF lines = !event->pixelDelta().isNull() ? QPointF(event->pixelDelta()) / 5.0
                                                        : QPointF(event->angleDelta()) / 120.0;
    const double dx = image->scrollableX() ? lines.x() * 5 / image->zoom() : 0.0;
    const double dy = image->scrollableY() ? lines.y() * 5 / image->zoom() : 0.0;
    if (dx != 0 || dy != 0) {
        image->setTranslate(image->translate() + QPointF(dx, dy));
        update();
    }
}

void GLImageView::keyPressEvent(QKeyEvent* event) {
    // The viewer controller handles every key.
    event->ignore();
}

void GLImageView::contextMenuEvent(QContextMenuEvent* event) {
    // The viewer controller owns the menu.
    event->ignore();
}

// --- Gestures

bool GLImageView::event(QEvent* event) {
    switch (event->type()) {
    case QEvent::NativeGesture: {
        const auto* gesture = static_cast<QNativeGestureEvent*>(event);
        switch (gesture->gestureType()) {
        case Qt::ZoomNativeGesture:
            magnify(gesture->value());
            return true;
        case Qt::SwipeNativeGesture: {
            // The value is the swipe's direction in degrees, 0 to the right.
            const double x = std::cos(gesture->value() * std::numbers::pi / 180);
            step(x > 0.5    ? SwipeTracker::Step::Next
                 : x < -0.5 ? SwipeTracker::Step::Previous
                            : SwipeTracker::Step::None);
            return true;
        }
        case Qt::BeginNativeGesture:
            qCDebug(lcImageView) << "Gesture detected!";
            return true;
        case Qt::EndNativeGesture:
            qCDebug(lcImageView) << "Gesture end detected!";
            return true;
        default:
            break;
        }
        break;
    }
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TouchCancel: {
        auto* touch = static_cast<QTouchEvent*>(event);
        // Touchscreens are left to Qt, which turns their touches into the
        // mouse events that pan.
        if (touch->device()->type() != QInputDevice::DeviceType::TouchPad)
            break;
        touchpadEvent(touch);
        return true;
    }
    default:
        break;
    }
    return QOpenGLWidget::event(event);
}

void GLImageView::magnify(double magnification) {
    const auto& image = currentImage();
    if (!image || isInTransition())
        return;
    image->setZoom((magnification * 20 + 1) * image->zoom(), true);
    update();
}

void GLImageView::touchpadEvent(QTouchEvent* event) {
    event->accept();
    const std::vector<SwipeTracker::Touch> touches = swipeTouches(*event);
    switch (event->type()) {
    case QEvent::TouchBegin:
        m_swipe.begin(touches);
        break;
    case QEvent::TouchUpdate:
        m_swipe.update(touches);
        break;
    case QEvent::TouchEnd:
        step(m_swipe.end(touches));
        break;
    default:
        m_swipe.cancel();
        break;
    }
}

void GLImageView::step(SwipeTracker::Step step) {
    if (!m_delegate)
        return;
    if (step == SwipeTracker::Step::Next)
        m_delegate->nextImage();
    else if (step == SwipeTracker::Step::Previous)
        m_delegate->prevImage();
}
