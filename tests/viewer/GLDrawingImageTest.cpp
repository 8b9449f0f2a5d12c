// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/GLDrawingImage.h"

#include "Exif.h"
#include "FakeDrawingView.h"

#include <QTest>

#include <gtest/gtest.h>

TEST(GLDrawingImage, AnimatedZoomEndsExactlyOnTheTwentiethTick) {
    // Among them steps whose repeated sums fall just short of the target.
    const struct {
        double from, to;
    } cases[] = {{1, 2}, {2, 1}, {1, 1.1}, {10, 0.1}, {0.123, 7.77}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << " -> " << c.to);
        FakeDrawingView view({1000, 1000});
        GLDrawingImage image(blankImage(10, 10), QString(), &view);
        image.setZoom(c.from, false);
        EXPECT_EQ(view.zoomChanges, 1);
        image.setZoom(c.to, true);
        ASSERT_TRUE(image.isZoomAnimating());
        const double step = (c.to - c.from) / GLDrawingImage::zoomAnimationTicks;
        for (int tick = 1; tick < GLDrawingImage::zoomAnimationTicks; ++tick)
            image.incZoom(step);
        EXPECT_TRUE(image.isZoomAnimating());
        EXPECT_NE(image.zoom(), c.to);
        image.incZoom(step);
        EXPECT_FALSE(image.isZoomAnimating());
        EXPECT_EQ(image.zoom(), c.to);
        EXPECT_EQ(view.zoomChanges, 21);
        EXPECT_EQ(view.redisplays, 21);
    }
}

TEST(GLDrawingImage, ZoomRequests) {
    FakeDrawingView view({1000, 1000});
    GLDrawingImage image(blankImage(10, 10), QString(), &view);
    image.setZoom(1, false);

    // The current zoom, animated or not, changes nothing.
    image.setZoom(1, true);
    EXPECT_FALSE(image.isZoomAnimating());
    EXPECT_EQ(view.redisplays, 1);

    // The timer drives the animation to its end on the event loop.
    image.zoomIn();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !image.isZoomAnimating(); }));
    EXPECT_DOUBLE_EQ(image.zoom(), 1.1);
    // An immediate zoom ends a running animation, which would undo it.
    image.zoomIn();
    image.zoomFit(false);
    EXPECT_FALSE(image.isZoomAnimating());
    EXPECT_EQ(image.zoom(), 100);

    // Taking over another picture's position changes nothing else yet.
    const int zoomChanges = view.zoomChanges;
    image.setTranslate({10000, -5}, 3);
    EXPECT_EQ(image.translate(), QPointF(10000, -5));
    EXPECT_EQ(image.zoom(), 3);
    EXPECT_EQ(view.zoomChanges, zoomChanges);
}

TEST(GLDrawingImage, PlacementForDraw) {
    const struct {
        QSize image;
        double view, zoom;
        QPointF translate;
        bool inTransition;
        double drawnZoom;
        QPointF drawnTranslate;
        bool scrollable;
        QRectF rect;
    } cases[] = {
        // The shorter side is never drawn below one point.
        {{1, 1}, 100, 0.001, {}, false, 1, {}, false, {-0.01, -0.01, 0.02, 0.02}},
        {{100, 100}, 1000, 1, {10000, 0}, false, 1, {0, 0}, false, {-0.1, -0.1, 0.2, 0.2}},
        {{100, 100}, 1000, 1, {10000, 0}, true, 1, {10000, 0}, false, {19.9, -0.1, 0.2, 0.2}},
        // Limited to ±(imgWidth − W / zoom) / 2 on a scrollable axis.
        {{4000, 3000}, 1000, 1, {10000, -10000}, false, 1, {1500, -1000}, true, {-1, -5, 8, 6}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.image.width() << (c.inTransition ? " moving" : ""));
        FakeDrawingView view({c.view, c.view});
        GLDrawingImage image(blankImage(c.image.width(), c.image.height()), QString(), &view);
        image.setTranslate(c.translate, c.zoom);
        image.setAlpha(0.25);
        const GLDrawingImage::Placement placed = image.placeForDraw(c.inTransition);
        EXPECT_DOUBLE_EQ(image.zoom(), c.drawnZoom);
        EXPECT_EQ(image.translate(), c.drawnTranslate);
        EXPECT_EQ(image.scrollableX(), c.scrollable);
        EXPECT_EQ(image.scrollableY(), c.scrollable);
        EXPECT_EQ(placed.rect, c.rect);
        EXPECT_EQ(placed.alpha, 0.25);
    }
}

TEST(GLDrawingImage, WithoutViewNothingIsDrawnAndExifIsReadOnce) {
    GLDrawingImage image(blankImage(6, 4), QString(), nullptr);
    EXPECT_EQ(image.fittingZoom(), 0.0);
    EXPECT_EQ(image.placeForDraw(false).rect, QRectF());
    Exif* exif = image.exifData();
    ASSERT_NE(exif, nullptr);
    EXPECT_FALSE(exif->hasExifData());
    EXPECT_EQ(image.exifData(), exif);
}
