// SPDX-License-Identifier: GPL-3.0-or-later
#include "EventUtils.h"

#include <QGuiApplication>
#include <QKeyEvent>

namespace {

constexpr Qt::KeyboardModifier kShift = Qt::ShiftModifier;
constexpr Qt::KeyboardModifier kCommand = Qt::ControlModifier;
constexpr Qt::KeyboardModifier kOption = Qt::AltModifier;
constexpr Qt::KeyboardModifier kControl = Qt::MetaModifier;

// X11 core state bit and the xkb "Lock" modifier index wayland serialises.
constexpr quint32 kNativeLockMask = 1u << 1;

bool onlyHeld(Qt::KeyboardModifiers modifiers, bool capsLock, Qt::KeyboardModifiers keys) {
    return !capsLock && (modifiers & Qt::KeyboardModifierMask) == keys;
}

bool capsLockOf(const QInputEvent* event) {
    if (!event || (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease &&
                   event->type() != QEvent::ShortcutOverride))
        return false;
    const QString platform = QGuiApplication::platformName();
    if (platform != QLatin1String("xcb") && platform != QLatin1String("wayland"))
        return false;
    return (static_cast<const QKeyEvent*>(event)->nativeModifiers() & kNativeLockMask) != 0;
}

Qt::KeyboardModifiers modifiersOf(const QInputEvent* event) {
    return event ? event->modifiers() : Qt::NoModifier;
}

Qt::KeyboardModifiers currentModifiers() {
    return QGuiApplication::queryKeyboardModifiers();
}

bool linkRequested(bool linkAccepted, Qt::KeyboardModifiers modifiers, bool capsLock) {
    return linkAccepted && onlyHeld(modifiers, capsLock, kOption | kCommand);
}

} // namespace

bool EventUtils::shiftKeyPressed(Qt::KeyboardModifiers modifiers, bool capsLock) {
    return onlyHeld(modifiers, capsLock, kShift);
}

bool EventUtils::alternateKeyPressed(Qt::KeyboardModifiers modifiers, bool capsLock) {
    return onlyHeld(modifiers, capsLock, kOption);
}

bool EventUtils::commandKeyPressed(Qt::KeyboardModifiers modifiers, bool capsLock) {
    return onlyHeld(modifiers, capsLock, kCommand);
}

bool EventUtils::controlKeyPressed(Qt::KeyboardModifiers modifiers, bool capsLock) {
    return onlyHeld(modifiers, capsLock, kControl);
}

bool EventUtils::shiftKeyPressed(const QInputEvent* event) {
    return shiftKeyPressed(modifiersOf(event), capsLockOf(event));
}

bool EventUtils::alternateKeyPressed(const QInputEvent* event) {
    return alternateKeyPressed(modifiersOf(event), capsLockOf(event));
}

bool EventUtils::commandKeyPressed(const QInputEvent* event) {
    return commandKeyPressed(modifiersOf(event), capsLockOf(event));
}

bool EventUtils::controlKeyPressed(const QInputEvent* event) {
    return controlKeyPressed(modifiersOf(event), capsLockOf(event));
}

bool EventUtils::shiftKeyPressed() {
    return shiftKeyPressed(currentModifiers());
}

bool EventUtils::alternateKeyPressed() {
    return alternateKeyPressed(currentModifiers());
}

bool EventUtils::commandKeyPressed() {
    return commandKeyPressed(currentModifiers());
}

bool EventUtils::controlKeyPressed() {
    return controlKeyPressed(currentModifiers());
}

Qt::DropAction EventUtils::dragOperationForMoveByDefaultWithLinkAccepted(
    bool linkAccepted, Qt::KeyboardModifiers modifiers, bool capsLock) {
    if (linkRequested(linkAccepted, modifiers, capsLock))
        return Qt::LinkAction;
    return alternateKeyPressed(modifiers, capsLock) ? Qt::CopyAction : Qt::MoveAction;
}

Qt::DropAction EventUtils::dragOperationForCopyByDefaultWithLinkAccepted(
    bool linkAccepted, Qt::KeyboardModifiers modifiers, bool capsLock) {
    if (linkRequested(linkAccepted, modifiers, capsLock))
        return Qt::LinkAction;
    return commandKeyPressed(modifiers, capsLock) ? Qt::MoveAction : Qt::CopyAction;
}

Qt::DropAction EventUtils::dragOperationForMoveByDefaultWithLinkAccepted(bool linkAccepted) {
    return dragOperationForMoveByDefaultWithLinkAccepted(linkAccepted, currentModifiers());
}

Qt::DropAction EventUtils::dragOperationForCopyByDefaultWithLinkAccepted(bool linkAccepted) {
    return dragOperationForCopyByDefaultWithLinkAccepted(linkAccepted, currentModifiers());
}

Qt::DropAction EventUtils::dragOperationForMoveByDefault() {
    return dragOperationForMoveByDefaultWithLinkAccepted(false);
}

Qt::DropAction EventUtils::dragOperationForCopyByDefault() {
    return dragOperationForCopyByDefaultWithLinkAccepted(false);
}
