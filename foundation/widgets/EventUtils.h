// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <Qt>

class QInputEvent;

// Modifier-key tests and the drag-operation rules.
//
// Keys as Qt names them: Shift is Qt::ShiftModifier, Command is
// Qt::ControlModifier, Option is Qt::AltModifier and Control is
// Qt::MetaModifier (the same correspondence Qt itself uses on macOS).
// Each test is true only when its key is the ONLY modifier held: Caps Lock,
// another modifier, the keypad flag or the group switch make it false.
// Qt's flags carry no Caps Lock bit, so it is passed separately; for key
// events it is read from the native modifier state (xcb and wayland), for
// mouse events and the current keyboard state it is unknown and counts as
// off.
//
// Main thread (the no-argument forms ask the window system).
namespace EventUtils {

bool shiftKeyPressed(Qt::KeyboardModifiers modifiers, bool capsLock = false);
bool alternateKeyPressed(Qt::KeyboardModifiers modifiers, bool capsLock = false);
bool commandKeyPressed(Qt::KeyboardModifiers modifiers, bool capsLock = false);
bool controlKeyPressed(Qt::KeyboardModifiers modifiers, bool capsLock = false);

// The event's modifiers (and Caps Lock for key events).
bool shiftKeyPressed(const QInputEvent* event);
bool alternateKeyPressed(const QInputEvent* event);
bool commandKeyPressed(const QInputEvent* event);
bool controlKeyPressed(const QInputEvent* event);

// The keyboard as it is now.
bool shiftKeyPressed();
bool alternateKeyPressed();
bool commandKeyPressed();
bool controlKeyPressed();

// Drags that move unless told otherwise: link when links are accepted and
// exactly Option + Command are held; copy when only Option is held; else
// move.
Qt::DropAction dragOperationForMoveByDefaultWithLinkAccepted(bool linkAccepted,
                                                             Qt::KeyboardModifiers modifiers,
                                                             bool capsLock = false);
// Drags that copy unless told otherwise: link when links are accepted and
// exactly Option + Command are held; move when only Command is held; else
// copy.
Qt::DropAction dragOperationForCopyByDefaultWithLinkAccepted(bool linkAccepted,
                                                             Qt::KeyboardModifiers modifiers,
                                                             bool capsLock = false);

// The rules on the current keyboard state; the short forms accept no links.
Qt::DropAction dragOperationForMoveByDefaultWithLinkAccepted(bool linkAccepted);
Qt::DropAction dragOperationForCopyByDefaultWithLinkAccepted(bool linkAccepted);
Qt::DropAction dragOperationForMoveByDefault();
Qt::DropAction dragOperationForCopyByDefault();

} // namespace EventUtils
