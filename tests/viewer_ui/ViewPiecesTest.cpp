// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/ui/CountdownBadge.h"
#include "viewer/ui/CursorHider.h"
#include "viewer/ui/DoubleClickTracker.h"
#include "viewer/ui/SwipeTracker.h"

#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(DoubleClickTracker, SecondMouseUpWithinTheInterval) {
    using Event = std::pair<char, quint64>; // 'd'own, 'u'p or 'c'ancel, time
    const struct {
        const char* name;
        std::vector<Event> events;
        int doubleClicks;
    } cases[] = {
        {"two clicks 0.2 s apart", {{'d', 0}, {'u', 50}, {'d', 200}, {'u', 250}}, 1},
        {"second mouse-up after the interval", {{'d', 0}, {'u', 50}, {'d', 450}, {'u', 510}}, 0},
        {"first mouse-up after the interval opens a new window",
         {{'d', 0}, {'u', 600}, {'d', 700}, {'u', 750}, {'d', 800}, {'u', 850}},
         1},
        {"a drag in between", {{'d', 0}, {'u', 50}, {'d', 200}, {'c', 210}, {'u', 250}}, 0},
        {"three quick clicks make one",
         {{'d', 0}, {'u', 50}, {'d', 100}, {'u', 150}, {'d', 200}, {'u', 250}},
         1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DoubleClickTracker tracker;
        tracker.setInterval(500);
        int doubleClicks = 0;
        for (const auto& [kind, time] : c.events) {
            if (kind == 'd')
                tracker.mouseDown(time);
            else if (kind == 'u')
                doubleClicks += tracker.mouseUp(time) ? 1 : 0;
            else
                tracker.cancel();
        }
        EXPECT_EQ(doubleClicks, c.doubleClicks);
    }
}

TEST(SwipeTracker, SumsTheHorizontalMovementOfTwoOrMoreFingers) {
    using Touches = std::vector<SwipeTracker::Touch>;
    const struct {
        const char* name;
        Touches began, landed, ended;
        SwipeTracker::Step step;
    } cases[] = {
        {"two fingers 0.2 to the right",
         {{1, 0.3}, {2, 0.4}},
         {},
         {{1, 0.5}, {2, 0.6}},
         SwipeTracker::Step::Next},
        {"two fingers 0.2 to the left",
         {{1, 0.5}, {2, 0.6}},
         {},
         {{1, 0.3}, {2, 0.4}},
         SwipeTracker::Step::Previous},
        {"a sum of 0.25",
         {{1, 0.3}, {2, 0.4}},
         {},
         {{1, 0.425}, {2, 0.525}},
         SwipeTracker::Step::None},
        {"three fingers 0.1 each",
         {{1, 0.1}, {2, 0.2}, {3, 0.3}},
         {},
         {{1, 0.2}, {2, 0.3}, {3, 0.4}},
         SwipeTracker::Step::Next},
        {"one finger", {{1, 0.1}}, {}, {{1, 0.9}}, SwipeTracker::Step::None},
        {"second finger landing later",
         {{1, 0.2}},
         {{2, 0.3}},
         {{1, 0.4}, {2, 0.5}},
         SwipeTracker::Step::Next},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SwipeTracker tracker;
        tracker.begin(c.began);
        tracker.update(c.landed);
        EXPECT_EQ(tracker.end(c.ended), c.step);
        EXPECT_FALSE(tracker.isTracking());
    }

    // An end without a begin is ignored.
    SwipeTracker tracker;
    const Touches moved{{1, 0.9}, {2, 0.9}};
    EXPECT_EQ(tracker.end(moved), SwipeTracker::Step::None);
}

TEST(CountdownBadge, PieShrinksFromTheTopCounterClockwise) {
    const auto alphaAt = [](const QImage& image, int x, int y) {
        return image.pixelColor(x, y).alpha();
    };
    EXPECT_FALSE(CountdownBadge::isShown(0.0005));
    const QImage none = CountdownBadge::image(0.0, 1.0);
    ASSERT_EQ(none.size(), QSize(24, 24));
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            ASSERT_EQ(alphaAt(none, x, y), 0);

    // A quarter left: the pie covers the circle's upper-left quadrant
    // (circle centre at 12, 12, radius 6).
    const QImage quarter = CountdownBadge::image(0.25, 1.0);
    EXPECT_GT(alphaAt(quarter, 1, 12), 0); // the rounded square
    const QRgb upperLeft = quarter.pixel(9, 9);
    const QRgb upperRight = quarter.pixel(14, 9);
    const QRgb lowerLeft = quarter.pixel(9, 14);
    EXPECT_GT(qRed(upperLeft), qRed(upperRight) + 40);
    EXPECT_GT(qRed(upperLeft), qRed(lowerLeft) + 40);
}

TEST(CursorHider, HidesAndShowsWithoutNesting) {
    QWidget widget;
    CursorHider cursor(&widget);
    cursor.hideCursor();
    cursor.hideCursor();
    EXPECT_EQ(widget.cursor().shape(), Qt::BlankCursor);
    cursor.setClosedHand(true);
    EXPECT_EQ(widget.cursor().shape(), Qt::BlankCursor);
    cursor.showCursor();
    EXPECT_EQ(widget.cursor().shape(), Qt::ClosedHandCursor);
    cursor.setClosedHand(false);
    EXPECT_EQ(widget.cursor().shape(), Qt::ArrowCursor);

    cursor.scheduleHide();
    EXPECT_TRUE(cursor.isCursorVisible());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !cursor.isCursorVisible(); }, 3000));
    EXPECT_EQ(widget.cursor().shape(), Qt::BlankCursor);
}

} // namespace
