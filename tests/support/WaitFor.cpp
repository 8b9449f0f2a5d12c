// SPDX-License-Identifier: GPL-3.0-or-later
#include "WaitFor.h"

#include <QDeadlineTimer>
#include <QTest>

bool waitFor(const std::function<bool()>& condition, int deadlineMs) {
    QDeadlineTimer deadline(deadlineMs);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QTest::qWait(5);
    }
    return true;
}
