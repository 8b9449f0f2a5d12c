// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <QTimer>

#include <functional>

// The time base of a change of picture: a tick every 1/60 s reporting the
// progress, the seconds since the start over the duration, growing
// linearly and limited to 1. Main thread; ticks come from the main event
// loop.
class ViewTransitionClock {
public:
    // 1/60 s in whole milliseconds, rounded down so the rate is never lower.
    static constexpr int tickIntervalMs = 16;

    explicit ViewTransitionClock(std::function<void(double progress)> onTick);
    ViewTransitionClock(const ViewTransitionClock&) = delete;
    ViewTransitionClock& operator=(const ViewTransitionClock&) = delete;

    // Starts (or restarts) the ticks; a duration of 0 or less reaches 1 at
    // the first tick.
    void start(double durationSeconds);
    // Stops the ticks; true when they were running.
    bool stop();
    bool isRunning() const { return m_timer.isActive(); }
    double progress() const;

private:
    std::function<void(double)> m_onTick;
    QTimer m_timer;
    QElapsedTimer m_started;
    double m_duration = 0.0;
};
