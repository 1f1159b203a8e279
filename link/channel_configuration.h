// Channel configurations: a channel count picks the largest layout it can fill.
// Any thread (pure functions, the audio path included).
#pragma once

#include <cstdint>

namespace MX::link {

// 0,1,2,2,4,4,6 for counts 0..6; counts above 6 use 6; negative counts give 0.
std::int32_t channelConfigurationFor(std::int32_t channelCount) noexcept;
// "n/a","1.0","2.0","n/a","4.0","n/a","5.1" for 0..6; "n/a" outside that range.
const char* channelConfigurationName(std::int32_t configuration) noexcept;

}  // namespace MX::link
