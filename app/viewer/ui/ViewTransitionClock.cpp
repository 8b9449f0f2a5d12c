// SPDX-License-Identifier: GPL-3.0-or-later
#include "ViewTransitionClock.h"

#include <algorithm>
#include <utility>

ViewTransitionClock::ViewTransitionClock(std::function<void(double progress)> onTick)
    : m_onTick(std::move(onTick)) {
    m_timer.setInterval(tickIntervalMs);
    m_timer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_timer, &QTimer::timeout, &m_timer, [this] { m_onTick(progress()); });
}

void ViewTransitionClock::start(double durationSeconds) {
    m_duration = durationSeconds;
    m_started.start();
    m_timer.start();
}

bool ViewTransitionClock::stop() {
    const bool wasRunning = m_timer.isActive();
    m_timer.stop();
    return wasRunning;
}

double ViewTransitionClock::progress() const {
    if (m_duration <= 0)
        return 1.0;
    // Elapsed time, not ticks counted: late ticks under load shorten the
    // animation's frame rate, never lengthen it.
    return std::min(static_cast<double>(m_started.nsecsElapsed()) / 1e9 / m_duration, 1.0);
}
