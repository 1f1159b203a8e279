#include <gtest/gtest.h>

#include <chrono>

#include "platform/platform.h"
#include "tests/support/wait_until.h"

namespace MX::platform {
namespace {

// Both clocks count milliseconds: each is polled until it has advanced 50 ms
// (a clock in seconds never gets there), and the steady clock must have seen
// about as long meanwhile (a clock in finer units gets there too soon). A
// sleep never ends early, whatever the load.
template <typename Clock>
void expectCountsMilliseconds(Clock clock) {
    const auto steadyBefore = std::chrono::steady_clock::now();
    const auto before = clock();
    ASSERT_TRUE(test_support::waitUntil([&] { return clock() - before >= 50; }));
    const auto seen = std::chrono::steady_clock::now() - steadyBefore;
    EXPECT_GE(seen, std::chrono::milliseconds(30));
}

TEST(SystemServices, ClocksCountMilliseconds) {
    expectCountsMilliseconds([] { return static_cast<std::uint32_t>(tickCount()); });
    expectCountsMilliseconds([] { return clockMilliseconds(); });
    EXPECT_GE(clockMilliseconds(), 0);
}

TEST(SystemServices, SleepLastsAtLeastItsTime) {
    const auto before = std::chrono::steady_clock::now();
    sleepMilliseconds(40);
    EXPECT_GE(std::chrono::steady_clock::now() - before, std::chrono::milliseconds(30));
}

}  // namespace
}  // namespace MX::platform
