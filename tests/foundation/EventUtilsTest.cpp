// SPDX-License-Identifier: GPL-3.0-or-later
#include "widgets/EventUtils.h"

#include <QKeyEvent>

#include <gtest/gtest.h>

using namespace EventUtils;

namespace {

constexpr Qt::KeyboardModifiers kOption = Qt::AltModifier;
constexpr Qt::KeyboardModifiers kCommand = Qt::ControlModifier;

} // namespace

TEST(EventUtils, EachKeyTestHoldsOnlyWhenThatKeyIsTheOnlyModifier) {
    EXPECT_TRUE(shiftKeyPressed(Qt::ShiftModifier));
    EXPECT_TRUE(alternateKeyPressed(kOption));
    EXPECT_TRUE(commandKeyPressed(kCommand));
    EXPECT_TRUE(controlKeyPressed(Qt::MetaModifier));

    EXPECT_FALSE(shiftKeyPressed(Qt::NoModifier));
    EXPECT_FALSE(shiftKeyPressed(Qt::ShiftModifier | kCommand));
    EXPECT_FALSE(alternateKeyPressed(kOption | Qt::ShiftModifier));
    EXPECT_FALSE(commandKeyPressed(kCommand | Qt::MetaModifier));
    EXPECT_FALSE(controlKeyPressed(kCommand)); // Command is not Control
    // The keypad and group-switch flags count as modifiers too.
    EXPECT_FALSE(shiftKeyPressed(Qt::ShiftModifier | Qt::KeypadModifier));
    EXPECT_FALSE(commandKeyPressed(kCommand | Qt::GroupSwitchModifier));
}

TEST(EventUtils, CapsLockMakesEveryKeyTestFalse) {
    EXPECT_FALSE(shiftKeyPressed(Qt::ShiftModifier, true));
    EXPECT_FALSE(alternateKeyPressed(kOption, true));
    EXPECT_FALSE(commandKeyPressed(kCommand, true));
    EXPECT_FALSE(controlKeyPressed(Qt::MetaModifier, true));
}

TEST(EventUtils, EventFormsReadTheEventsModifiers) {
    const QKeyEvent shifted(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier);
    const QKeyEvent both(QEvent::KeyPress, Qt::Key_A, Qt::ShiftModifier | kOption);
    EXPECT_TRUE(shiftKeyPressed(&shifted));
    EXPECT_FALSE(shiftKeyPressed(&both));
    EXPECT_FALSE(shiftKeyPressed(static_cast<const QInputEvent*>(nullptr)));
}

TEST(EventUtils, MoveByDefault) {
    EXPECT_EQ(dragOperationForMoveByDefaultWithLinkAccepted(false, Qt::NoModifier), Qt::MoveAction);
    EXPECT_EQ(dragOperationForMoveByDefaultWithLinkAccepted(false, kOption), Qt::CopyAction);
    // Both keys ask for a link; without links that is no copy either.
    EXPECT_EQ(dragOperationForMoveByDefaultWithLinkAccepted(false, kOption | kCommand),
              Qt::MoveAction);
    EXPECT_EQ(dragOperationForMoveByDefaultWithLinkAccepted(true, kOption | kCommand),
              Qt::LinkAction);
    // Option with Caps Lock or with a third key is not "only Option".
    EXPECT_EQ(dragOperationForMoveByDefaultWithLinkAccepted(false, kOption, true), Qt::MoveAction);
    EXPECT_EQ(dragOperationForMoveByDefaultWithLinkAccepted(true, kOption | kCommand, true),
              Qt::MoveAction);
    EXPECT_EQ(
        dragOperationForMoveByDefaultWithLinkAccepted(true, kOption | kCommand | Qt::ShiftModifier),
        Qt::MoveAction);
}

TEST(EventUtils, CopyByDefault) {
    EXPECT_EQ(dragOperationForCopyByDefaultWithLinkAccepted(false, Qt::NoModifier), Qt::CopyAction);
    EXPECT_EQ(dragOperationForCopyByDefaultWithLinkAccepted(false, kCommand), Qt::MoveAction);
    EXPECT_EQ(dragOperationForCopyByDefaultWithLinkAccepted(false, kOption), Qt::CopyAction);
    EXPECT_EQ(dragOperationForCopyByDefaultWithLinkAccepted(false, kOption | kCommand),
              Qt::CopyAction);
    EXPECT_EQ(dragOperationForCopyByDefaultWithLinkAccepted(true, kOption | kCommand),
              Qt::LinkAction);
    EXPECT_EQ(dragOperationForCopyByDefaultWithLinkAccepted(false, kCommand, true), Qt::CopyAction);
}
