// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
#include <span>

// The two-finger horizontal swipe on a touchpad that steps to the next or
// the previous picture. Touches are remembered from the start of a touch
// sequence (and as further fingers land); at its end the horizontal
// movements of all of them, in touchpad widths (0 to 1 across the pad), are
// summed. Two or more fingers moving right by 0.3 in sum mean the next
// picture, to the left the previous one. Main thread.
class SwipeTracker {
public:
    static constexpr float threshold = 0.3f;

    struct Touch {
        int id = 0;
        double x = 0.0; // normalised horizontal position on the pad
    };
    enum class Step { None, Next, Previous };

    // Starts tracking afresh with these touches.
    void begin(std::span<const Touch> touches);
    // Records further positions and newly landed fingers; nothing before a
    // begin.
    void update(std::span<const Touch> touches);
    // Ends tracking and tells the step, None for fewer than two tracked
    // touches or no begin.
    Step end(std::span<const Touch> touches);
    void cancel() { m_tracks.reset(); }
    bool isTracking() const { return m_tracks.has_value(); }

private:
    struct Track {
        double start = 0.0;
        double last = 0.0;
    };
    std::optional<std::map<int, Track>> m_tracks;
};
