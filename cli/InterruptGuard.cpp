// SPDX-License-Identifier: GPL-3.0-or-later
#include "InterruptGuard.h"

#include <csignal>

namespace {

std::atomic<bool> wasInterrupted{false};
std::atomic<std::atomic<bool>*> forwardedFlag{nullptr};
struct sigaction previousAction {};

// Only lock-free atomics here: safe in a signal handler.
void onInterrupt(int) {
    wasInterrupted.store(true);
    if (std::atomic<bool>* flag = forwardedFlag.load())
        flag->store(true);
}

} // namespace

InterruptGuard::InterruptGuard() {
    static_assert(std::atomic<bool>::is_always_lock_free);
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;
    sigaction(SIGINT, &action, &previousAction);
}

InterruptGuard::~InterruptGuard() {
    forwardedFlag.store(nullptr);
    sigaction(SIGINT, &previousAction, nullptr);
}

bool InterruptGuard::interrupted() {
    return wasInterrupted.load();
}

void InterruptGuard::forwardTo(std::atomic<bool>* cancelFlag) {
    forwardedFlag.store(cancelFlag);
    if (cancelFlag && wasInterrupted.load())
        cancelFlag->store(true);
}
