#include <gtest/gtest.h>

#include "platform/platform.h"

namespace MX::platform {
namespace {

// Lower bounds only: a sleep lasts at least its time, so both clocks must
// advance by about that many milliseconds (a slack of 10 ms covers the
// Windows tick granularity). Catches a wrong unit, not a slow machine.
TEST(SystemServices, ClocksCountMillisecondsAcrossASleep) {
    const std::uint32_t tickBefore = tickCount();
    const long clockBefore = clockMilliseconds();
    sleepMilliseconds(40);
    EXPECT_GE(static_cast<std::uint32_t>(tickCount() - tickBefore), 30u);
    EXPECT_GE(clockMilliseconds() - clockBefore, 30);
    EXPECT_GE(clockBefore, 0);
}

}  // namespace
}  // namespace MX::platform
