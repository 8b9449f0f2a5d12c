// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/DrawingImage.h"
#include "FakeDrawingView.h"

#include <gtest/gtest.h>

TEST(DrawingImage, FitsAndCentresWithTheOddPointOnTheRight) {
    const struct {
        QSize image;
        QSizeF view;
        double zoom; // 0: fit
        double fitting;
        QPointF translate;
    } cases[] = {
        {{4000, 3000}, {1440, 900}, 0, 0.3, {120, 0}},
        {{100, 50}, {1000, 1000}, 0, 10, {0, 250}},
        {{99, 96}, {100, 100}, 1, 100.0 / 99, {0, 2}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.image.width());
        FakeDrawingView view(c.view);
        DrawingImage image(blankImage(c.image.width(), c.image.height()), QString(), &view);
        EXPECT_DOUBLE_EQ(image.fittingZoom(), c.fitting);
        c.zoom > 0 ? image.setZoom(c.zoom) : image.zoomFit();
        EXPECT_EQ(image.translate(), c.translate);
        EXPECT_FALSE(image.scrollableX());
        EXPECT_FALSE(image.scrollableY());
        EXPECT_EQ(view.redisplays, 1);
    }
}

TEST(DrawingImage, ZoomLadder) {
    const struct {
        double from;
        bool in;
        double to;
    } cases[] = {
        {0.5, true, 0.55},   {1, true, 1.5},          {1.5, true, 2},   {2, true, 3},
        {9, true, 10},       {10, true, 12},          {28, true, 30},   {30, true, 35},
        {95, true, 100},     {100, true, 110},        {150, true, 160}, {195, true, 200},
        {1, false, 1 / 1.1}, {0.5, false, 0.5 / 1.1}, {2, false, 1.5},  {1.5, false, 1},
        {3, false, 2},       {12, false, 10},         {35, false, 30},  {110, false, 100},
        {200, false, 190},   {1.05, false, 0.05},
    };
    FakeDrawingView view({1000, 1000});
    DrawingImage image(blankImage(10, 10), QString(), &view);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.from << (c.in ? " in" : " out"));
        image.setZoom(c.from);
        c.in ? image.zoomIn() : image.zoomOut();
        EXPECT_NEAR(image.zoom(), c.to, 1e-12);
    }
}

TEST(DrawingImage, NonPositiveZoomIsIgnored) {
    FakeDrawingView view({1440, 900});
    DrawingImage image(blankImage(4000, 3000), QString(), &view);
    image.zoomFit();
    for (double z : {0.0, -1.0}) {
        image.setZoom(z);
        EXPECT_DOUBLE_EQ(image.zoom(), 0.3);
        EXPECT_EQ(image.translate(), QPointF(120, 0));
    }
    EXPECT_EQ(view.redisplays, 1);
}

TEST(DrawingImage, ZoomKeepsTheCentredPointThenClamps) {
    FakeDrawingView view({1000, 500});
    DrawingImage image(blankImage(2000, 1000), QString(), &view);
    image.setTranslate({-500, -100}, 1);
    ASSERT_TRUE(image.scrollableX() && image.scrollableY());
    const QPointF centre = image.viewPointToImagePoint({500, 250});
    image.setZoom(2);
    EXPECT_EQ(image.translate(), QPointF(-1500, -450));
    EXPECT_EQ(image.viewPointToImagePoint({500, 250}), centre);
    EXPECT_EQ(image.viewRectToImageRect({0, 0, 100, 50}), QRectF(750, 225, 50, 25));

    // Background showed on the left (as after a resize): the zoom keeps the
    // centre, which would leave background, so the left edge is clamped.
    image.setTranslate({0, -100}, 1);
    image.setTranslate({400, -100});
    image.setZoom(2);
    EXPECT_EQ(image.translate(), QPointF(0, -450));

    // Another picture taking over a position far outside is clamped too.
    image.setTranslate({-9999, 9999}, 2);
    EXPECT_EQ(image.translate(), QPointF(-3000, 0));
}
