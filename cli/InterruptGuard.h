// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <atomic>

// Catches Ctrl-C (SIGINT) while it lives: the first one is recorded and
// forwarded to the cancel flag of the running transfer or batch, which
// stops after its current file. Blocking terminal reads return early (no SA_RESTART).
// Main thread; one guard at a time.
class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;

    static bool interrupted();
    // The flag set on interruption; null to forget it.
    static void forwardTo(std::atomic<bool>* cancelFlag);
};
