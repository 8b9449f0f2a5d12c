// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/ui/GLImageView.h"
#include "viewer/ui/GLTexture.h"
#include "viewer/ui/GLTextureCache.h"
#include "viewer/ui/GLTextureShader.h"

#include "ViewFixture.h"
#include "ViewTestSupport.h"
#include "settings/SettingsKeys.h"

#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QNativeGestureEvent>
#include <QPointingDevice>
#include <QStyleHints>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

const QColor background(0, 0, 255);
const QColor red(255, 0, 0);
const QString picturePath = QStringLiteral("/pictures/IMG_0001.JPG");

class GLImageViewTest : public ViewFixture<GLImageView> {
protected:
    std::shared_ptr<GLDrawingImage> picture(int width, int height, const QColor& color = red,
                                            const QString& path = picturePath) {
        return std::make_shared<GLDrawingImage>(solidImage(width, height, color), path, &m_view);
    }
    // Draws the view; the drawing also places the pictures (scroll flags,
    // offset limits).
    QImage frame() { return m_view.grabFramebuffer(); }
};

TEST_F(GLImageViewTest, DrawsThePictureFittedOnTheBackground) {
    // A square picture in a wide view: fitted to the height, centred.
    m_view.setImage(picture(100, 100));
    EXPECT_EQ(m_delegate.updates, 1);
    EXPECT_DOUBLE_EQ(m_view.currentImage()->zoom(), 2.0);
    const QImage shot = frame();
    ASSERT_EQ(shot.size(), QSize(320, 200));
    EXPECT_TRUE(near(shot.pixelColor(160, 100), red));
    EXPECT_TRUE(near(shot.pixelColor(65, 5), red));
    EXPECT_TRUE(near(shot.pixelColor(5, 100), background));
    EXPECT_TRUE(near(shot.pixelColor(315, 195), background));
    // The picture's pixels now live in its texture only.
    EXPECT_FALSE(m_view.currentImage()->hasImage());
}

TEST_F(GLImageViewTest, TransitionEndsOnceWithTheIncomingPicture) {
    for (TransitionKind kind :
         {TransitionKind::Fade, TransitionKind::SlideFromLeft, TransitionKind::SlideFromRight}) {
        SCOPED_TRACE(static_cast<int>(kind));
        m_view.setImage(picture(100, 100));
        frame();
        m_delegate.updates = 0;
        const auto incoming = picture(100, 100, Qt::green);
        m_view.setImage(incoming, kind, true);
        ASSERT_TRUE(m_view.isInTransition());
        EXPECT_EQ(m_delegate.updates, 0);
        // Zoom commands wait for the transition's end.
        const double zoom = m_view.currentImage()->zoom();
        m_view.setZoom(zoom * 2, false);
        EXPECT_EQ(m_view.currentImage()->zoom(), zoom);

        ASSERT_TRUE(QTest::qWaitFor([&] { return !m_view.isInTransition(); }));
        EXPECT_EQ(m_delegate.updates, 1);
        EXPECT_EQ(m_view.currentImage(), incoming);
        EXPECT_EQ(incoming->alpha(), 1.0);
        EXPECT_TRUE(near(frame().pixelColor(160, 100), QColor(Qt::green)));
    }
}

TEST_F(GLImageViewTest, NewPictureDuringATransitionEndsItFirst) {
    m_view.setImage(picture(100, 100));
    const auto second = picture(100, 100, Qt::green);
    const auto third = picture(100, 100, Qt::white);
    m_view.setImage(second, TransitionKind::Fade, true);
    m_delegate.updates = 0;
    m_view.setImage(third, TransitionKind::SlideFromRight, true);
    // The fade jumped to its end and was reported; the slide runs.
    EXPECT_EQ(m_delegate.updates, 1);
    EXPECT_EQ(m_view.currentImage(), second);
    EXPECT_EQ(second->alpha(), 1.0);
    EXPECT_TRUE(m_view.isInTransition());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_view.isInTransition(); }));
    EXPECT_EQ(m_delegate.updates, 2);
    EXPECT_EQ(m_view.currentImage(), third);
}

TEST_F(GLImageViewTest, ZoomedInPictureIsReplacedAtOnceKeepingTheZoom) {
    m_view.setImage(picture(100, 100));
    m_view.setZoom(3.0, false);
    const auto next = picture(100, 100, Qt::green);
    m_view.setImage(next, TransitionKind::Fade, false);
    EXPECT_FALSE(m_view.isInTransition());
    EXPECT_EQ(m_delegate.updates, 2);
    EXPECT_EQ(m_view.currentImage(), next);
    EXPECT_EQ(next->zoom(), 3.0);
    // With the reset the next one is fitted again.
    m_view.setImage(picture(100, 100), TransitionKind::None, true);
    EXPECT_EQ(m_view.currentImage()->zoom(), 2.0);
}

TEST_F(GLImageViewTest, WheelMovesScrollableAxesByFivePointsALine) {
    const struct {
        QSize size;
        QPoint angleDelta;
        QPoint pixelDelta;
        QPointF moved;
    } cases[] = {
        // Two notches at zoom 0.5: 2 x 5 / 0.5 image pixels.
        {{2000, 1000}, {0, 240}, {}, {0, 20}},
        {{2000, 1000}, {-240, 0}, {}, {-20, 0}},
        // Pixel deltas move the picture by as many points on screen.
        {{2000, 1000}, {0, 240}, {0, 10}, {0, 20}},
        // 1000 x 50 points: only the horizontal axis scrolls.
        {{2000, 100}, {240, 240}, {}, {20, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.size.width() << "x" << c.size.height() << " "
                                        << c.angleDelta.x() << "," << c.angleDelta.y());
        m_view.setImage(picture(c.size.width(), c.size.height()));
        m_view.setZoom(0.5, false);
        frame();
        const QPointF before = m_view.currentImage()->translate();
        QWheelEvent wheel(QPointF(160, 100), m_view.mapToGlobal(QPointF(160, 100)), c.pixelDelta,
                          c.angleDelta, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(&m_view, &wheel);
        EXPECT_EQ(m_view.currentImage()->translate() - before, c.moved);
    }
}

TEST_F(GLImageViewTest, PinchAnimatesTheZoom) {
    m_view.setImage(picture(100, 100));
    m_view.setZoom(1.0, false);
    QNativeGestureEvent pinch(Qt::ZoomNativeGesture, QPointingDevice::primaryPointingDevice(), 2,
                              QPointF(160, 100), QPointF(160, 100),
                              m_view.mapToGlobal(QPointF(160, 100)), 0.05, QPointF());
    QApplication::sendEvent(&m_view, &pinch);
    const auto image = m_view.currentImage();
    EXPECT_TRUE(image->isZoomAnimating());
    EXPECT_DOUBLE_EQ(image->targetZoom(), 2.0);
}

TEST_F(GLImageViewTest, DragMovesScrollableAxesByTheRawDeltas) {
    m_view.setImage(picture(2000, 1000));
    m_view.setZoom(2.0, false);
    frame();
    const auto image = m_view.currentImage();
    const QPointF start = image->translate();
    sendMouse(m_view, QEvent::MouseButtonPress, {100, 100}, 1000);
    sendMouse(m_view, QEvent::MouseMove, {110, 95}, 1010);
    // Not divided by the zoom; upwards is positive.
    EXPECT_EQ(image->translate() - start, QPointF(10, 5));
    // Shift: the pointer went further sideways since the press, so the
    // vertical part of this step is dropped.
    sendMouse(m_view, QEvent::MouseMove, {130, 97}, 1020, Qt::ShiftModifier);
    EXPECT_EQ(image->translate() - start, QPointF(30, 5));
    sendMouse(m_view, QEvent::MouseButtonRelease, {130, 97}, 1030);

    // A fitted picture does not pan.
    m_view.setImage(picture(100, 100));
    frame();
    sendMouse(m_view, QEvent::MouseButtonPress, {100, 100}, 2000);
    sendMouse(m_view, QEvent::MouseMove, {150, 150}, 2010);
    sendMouse(m_view, QEvent::MouseButtonRelease, {150, 150}, 2020);
    EXPECT_EQ(m_view.currentImage()->translate(), QPointF());
}

TEST_F(GLImageViewTest, DoubleClicksAreCountedWithinTheInterval) {
    const quint64 interval = QGuiApplication::styleHints()->mouseDoubleClickInterval();
    const quint64 t = interval / 8;
    const struct {
        const char* name;
        quint64 secondRelease;
        bool dragInBetween;
        int doubleClicks;
    } cases[] = {
        {"two quick clicks", 3 * t, false, 1},
        {"second mouse-up too late", interval + t, false, 0},
        {"a drag in between", 3 * t, true, 0},
    };
    m_view.setImage(picture(100, 100));
    quint64 base = 100000;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_delegate.doubleClicks = 0;
        sendMouse(m_view, QEvent::MouseButtonPress, {100, 100}, base);
        sendMouse(m_view, QEvent::MouseButtonRelease, {100, 100}, base + t);
        sendMouse(m_view, QEvent::MouseButtonDblClick, {100, 100}, base + 2 * t);
        if (c.dragInBetween)
            sendMouse(m_view, QEvent::MouseMove, {140, 100}, base + 2 * t + 1);
        sendMouse(m_view, QEvent::MouseButtonRelease, {100, 100}, base + c.secondRelease);
        EXPECT_EQ(m_delegate.doubleClicks, c.doubleClicks);
        base += 10 * interval;
    }
}

TEST_F(GLImageViewTest, OverlayShowsForPicturesWithAPath) {
    // The picture covers the view; the overlay darkens its top-left corner.
    const auto overlayCorner = [&] { return frame().pixelColor(1, 1); };
    m_view.setImage(picture(320, 200));
    EXPECT_TRUE(near(overlayCorner(), red));
    m_view.setInfoLevel(1);
    EXPECT_TRUE(near(overlayCorner(), QColor(77, 0, 0), 4));
    m_view.setImage(picture(320, 200, red, QString()));
    EXPECT_TRUE(near(overlayCorner(), red));
}

TEST_F(GLImageViewTest, OverlayFollowsLevelAndZoom) {
    // Picture and background alike, so only the overlay's text can differ.
    m_settings.store.setObject(QStringLiteral("#ff0000"),
                               QLatin1String(SettingsKeys::viewer_background));
    m_view.setImage(picture(320, 200));
    const auto overlay = [&] { return frame().copy(0, 0, 320, 60); };
    m_view.setInfoLevel(1);
    const QImage levelOne = overlay();
    m_view.setInfoLevel(2);
    const QImage levelTwo = overlay();
    EXPECT_NE(levelOne, levelTwo);
    EXPECT_EQ(overlay(), levelTwo);
    m_view.setZoom(0.5, false);
    EXPECT_NE(overlay(), levelTwo);
}

TEST_F(GLImageViewTest, CountdownBadgeInTheLowerLeftCorner) {
    m_view.setImage(picture(320, 200));
    const auto badgeCorner = [&] { return frame().pixelColor(5, 200 - 5); };
    EXPECT_TRUE(near(badgeCorner(), red));
    m_view.setDisplayDurationRemaining(0.5);
    EXPECT_TRUE(near(badgeCorner(), QColor(77, 0, 0), 4));
    m_view.setDisplayDurationRemaining(0.0);
    EXPECT_TRUE(near(badgeCorner(), red));
}

TEST_F(GLImageViewTest, CursorHidesASecondAfterTheLastMove) {
    m_view.setup();
    EXPECT_EQ(m_view.cursor().shape(), Qt::BlankCursor);
    sendMouse(m_view, QEvent::MouseMove, {10, 10}, 1);
    EXPECT_TRUE(m_view.pointer().isCursorVisible());
    EXPECT_NE(m_view.cursor().shape(), Qt::BlankCursor);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !m_view.pointer().isCursorVisible(); }, 3000));
    EXPECT_EQ(m_view.cursor().shape(), Qt::BlankCursor);
    m_view.cleanup();
    EXPECT_TRUE(m_view.pointer().isCursorVisible());
    EXPECT_FALSE(m_view.currentImage());
}

TEST_F(GLImageViewTest, KeysAndMenuRequestsGoToTheParent) {
    struct Parent : QWidget {
        void keyPressEvent(QKeyEvent*) override { ++keys; }
        void contextMenuEvent(QContextMenuEvent*) override { ++menus; }
        int keys = 0;
        int menus = 0;
    } parent;
    GLImageView child(m_settings.store, &parent);
    QKeyEvent key(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(&child, &key);
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), child.mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&child, &menu);
    EXPECT_EQ(parent.keys, 1);
    EXPECT_EQ(parent.menus, 1);
}

TEST_F(GLImageViewTest, TexturesAreMadeOnceAndDroppedWithTheirPictures) {
    m_view.makeCurrent();
    GLTextureShader shader;
    ASSERT_TRUE(shader.isValid());
    {
        // Larger than the limit: scaled down, proportions kept.
        GLTexture texture(shader, solidImage(200, 100, red), 64);
        EXPECT_EQ(texture.size(), QSize(64, 32));
        EXPECT_NE(texture.textureId(), 0u);
        texture.deleteTexture();
        EXPECT_EQ(texture.textureId(), 0u);
    }
    GLTextureCache cache(shader, 4096);
    auto image = picture(40, 30);
    GLTexture* texture = cache.textureFor(image);
    ASSERT_TRUE(texture);
    EXPECT_EQ(texture->size(), QSize(40, 30));
    EXPECT_FALSE(image->hasImage());
    EXPECT_EQ(cache.textureFor(image), texture);
    cache.purge();
    EXPECT_EQ(cache.size(), 1u);
    image.reset();
    cache.purge();
    EXPECT_EQ(cache.size(), 0u);
    m_view.doneCurrent();
}

} // namespace
