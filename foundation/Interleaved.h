// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <future>
#include <system_error>
#include <vector>

// Work on many files spread over a few threads of its own, for blocking
// reads that a pool shared with the windows should not wait on.
namespace Interleaved {

// Calls `work(i)` for every `i` below `count`: thread k of `threads` (this
// one is thread 0) takes k, k + threads, and so on, so neighbours go to
// different threads. Returns once all are done; a thread that cannot be
// started has its share done here.
template <typename Work> void forEach(std::size_t count, std::size_t threads, const Work& work) {
    auto share = [count, threads, &work](std::size_t first) {
        for (std::size_t i = first; i < count; i += threads)
            work(i);
    };
    std::vector<std::future<void>> others;
    for (std::size_t first = 1; first < threads && first < count; ++first) {
        try {
            others.push_back(std::async(std::launch::async, share, first));
        } catch (const std::system_error&) {
            share(first);
        }
    }
    share(0);
    for (std::future<void>& other : others)
        other.get();
}

} // namespace Interleaved
