// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/ui/ImageView.h"

#include "ViewFixture.h"
#include "ViewTestSupport.h"

#include <QTest>

#include <gtest/gtest.h>

namespace {

const QColor background(0, 0, 255);
const QColor red(255, 0, 0);

class ImageViewTest : public ViewFixture<ImageView> {
protected:
    QImage frame() { return m_view.grab().toImage(); }
};

TEST_F(ImageViewTest, DrawsThePictureUprightOnTheBackground) {
    // Top half red, bottom half green: the flip to Qt's y must keep it so.
    QImage picture = solidImage(100, 100, red);
    for (int y = 50; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            picture.setPixelColor(x, y, Qt::green);
    m_view.setImage(picture, QStringLiteral("/pictures/a.jpg"));
    EXPECT_EQ(m_delegate.updates, 1);
    EXPECT_DOUBLE_EQ(m_view.currentImage()->zoom(), 2.0);
    const QImage shot = frame();
    EXPECT_TRUE(near(shot.pixelColor(160, 20), red));
    EXPECT_TRUE(near(shot.pixelColor(160, 180), QColor(Qt::green)));
    EXPECT_TRUE(near(shot.pixelColor(5, 100), background));
    EXPECT_TRUE(near(shot.pixelColor(315, 100), background));

    // The overlay darkens the top-left corner; the badge the lower-left.
    m_view.setInfoLevel(1);
    m_view.setDisplayDurationRemaining(0.5);
    const QImage overlaid = frame();
    EXPECT_TRUE(near(overlaid.pixelColor(1, 1), QColor(0, 0, 77), 4));
    EXPECT_TRUE(near(overlaid.pixelColor(5, 195), QColor(0, 0, 77), 4));
}

TEST_F(ImageViewTest, DragKeepsThePictureEdgesOutsideTheView) {
    // A 640 x 400 picture at zoom 1 starts centred at (-160, -100).
    const struct {
        const char* name;
        QPointF to; // from (160, 100)
        Qt::KeyboardModifiers modifiers;
        QPointF translate;
    } cases[] = {
        {"right and up", {210, 70}, Qt::NoModifier, {-110, -70}},
        {"past the left edge", {500, 100}, Qt::NoModifier, {0, -100}},
        {"past the right edge", {-300, 100}, Qt::NoModifier, {-320, -100}},
        {"past the bottom edge", {160, 0}, Qt::NoModifier, {-160, 0}},
        {"half points round away from zero", {160.5, 99.5}, Qt::NoModifier, {-159, -99}},
        {"shift keeps the longer axis", {200, 90}, Qt::ShiftModifier, {-120, -100}},
    };
    quint64 time = 1000;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        m_view.setImage(solidImage(640, 400, red), QStringLiteral("/pictures/a.jpg"));
        m_view.setZoom(1.0);
        ASSERT_EQ(m_view.currentImage()->translate(), QPointF(-160, -100));
        sendMouse(m_view, QEvent::MouseButtonPress, {160, 100}, time);
        sendMouse(m_view, QEvent::MouseMove, c.to, time + 10, c.modifiers);
        EXPECT_FALSE(m_view.isInfoDisplayed());
        EXPECT_EQ(m_view.currentImage()->translate(), c.translate);
        sendMouse(m_view, QEvent::MouseButtonRelease, c.to, time + 20);
        EXPECT_TRUE(m_view.isInfoDisplayed());
        time += 10000;
    }

    // Narrower and lower than the view: nothing moves.
    m_view.setImage(solidImage(100, 100, red), QStringLiteral("/pictures/a.jpg"));
    const QPointF fitted = m_view.currentImage()->translate();
    sendMouse(m_view, QEvent::MouseButtonPress, {160, 100}, time);
    sendMouse(m_view, QEvent::MouseMove, {260, 0}, time + 10);
    sendMouse(m_view, QEvent::MouseButtonRelease, {260, 0}, time + 20);
    EXPECT_EQ(m_view.currentImage()->translate(), fitted);
}

TEST_F(ImageViewTest, DraggedPixelsMatchAFullRedraw) {
    // A gradient, so a misplaced strip shows.
    QImage picture(640, 400, QImage::Format_RGB32);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 640; ++x)
            picture.setPixelColor(x, y, QColor(x % 256, y % 256, (x + y) % 256));
    m_view.setImage(picture, QStringLiteral("/pictures/a.jpg"));
    m_view.setZoom(1.0);
    QTest::qWait(50);
    sendMouse(m_view, QEvent::MouseButtonPress, {160, 100}, 1000);
    for (int step = 1; step <= 5; ++step)
        sendMouse(m_view, QEvent::MouseMove, {160.0 + 7 * step, 100.0 - 3 * step}, 1000 + step);
    sendMouse(m_view, QEvent::MouseButtonRelease, {195, 85}, 1010);
    QApplication::processEvents();
    const QImage onScreen = m_view.screen()->grabWindow(m_view.winId()).toImage();
    EXPECT_EQ(onScreen.convertToFormat(QImage::Format_RGB32),
              frame().convertToFormat(QImage::Format_RGB32));
}

TEST_F(ImageViewTest, TransitionHandsOverToTheIncomingPicture) {
    m_view.setImage(solidImage(100, 100, red), QStringLiteral("/pictures/a.jpg"));
    m_view.setImage(solidImage(100, 100, Qt::green), QStringLiteral("/pictures/b.jpg"),
                    TransitionKind::SlideFromLeft, true);
    EXPECT_TRUE(m_view.isInTransition());
    EXPECT_EQ(m_delegate.updates, 1);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !m_view.isInTransition(); }));
    EXPECT_EQ(m_delegate.updates, 2);
    EXPECT_EQ(m_view.currentImage()->path(), QStringLiteral("/pictures/b.jpg"));
    EXPECT_TRUE(near(frame().pixelColor(160, 100), QColor(Qt::green)));
}

} // namespace
