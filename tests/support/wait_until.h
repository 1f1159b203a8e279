// Waiting in tests for what another window, process, thread or server does:
// poll the condition itself until it holds or a deadline passes, generous
// enough for a loaded machine and sanitizers. Between checks the thread only
// yields: no interval is guessed, and a step that talks to a server (an X
// round trip, a message pump) paces the loop itself. Any thread.
#pragma once

#include <chrono>
#include <thread>

namespace test_support {

inline constexpr std::chrono::seconds kWaitDeadline{10};

// Runs `step` (e.g. an idle call or a message pump) and checks `condition`
// until it holds; false when the deadline passed first.
template <typename Condition, typename Step>
bool waitUntil(Condition condition, Step step, std::chrono::milliseconds deadline = kWaitDeadline) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        step();
        if (condition()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        std::this_thread::yield();
    }
}

template <typename Condition>
bool waitUntil(Condition condition) {
    return waitUntil(condition, [] {});
}

}  // namespace test_support
