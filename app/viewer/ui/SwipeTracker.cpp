// SPDX-License-Identifier: GPL-3.0-or-later
#include "SwipeTracker.h"

#include <cmath>

void SwipeTracker::begin(std::span<const Touch> touches) {
    m_tracks.emplace();
    update(touches);
}

void SwipeTracker::update(std::span<const Touch> touches) {
    if (!m_tracks)
        return;
    // A finger lifted early keeps the position of its last report.
    for (const Touch& touch : touches) {
        const auto [it, added] = m_tracks->try_emplace(touch.id, Track{touch.x, touch.x});
        if (!added)
            it->second.last = touch.x;
    }
}

SwipeTracker::Step SwipeTracker::end(std::span<const Touch> touches) {
    update(touches);
    const std::optional<std::map<int, Track>> tracks = std::move(m_tracks);
    m_tracks.reset();
    if (!tracks || tracks->size() < 2)
        return Step::None;
    float sum = 0.0f;
    for (const auto& [id, track] : *tracks)
        sum += static_cast<float>(track.last - track.start);
    // Elsewhere a per-user "natural scrolling" preference reverses the
    // direction. Linux has no such system setting for programs to read
    // (libinput applies its own to scroll events only), so it counts as off.
    if (std::abs(sum) < threshold)
        return Step::None;
    return sum > 0 ? Step::Next : Step::Previous;
}
