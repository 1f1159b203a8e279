#include "link/channel_configuration.h"

namespace MX::link {

namespace {
constexpr std::int32_t kConfigurationForCount[] = {0, 1, 2, 2, 4, 4, 6};
constexpr const char* kConfigurationNames[] = {"n/a", "1.0", "2.0", "n/a", "4.0", "n/a", "5.1"};
constexpr std::int32_t kMaxCount = 6;
}  // namespace

std::int32_t channelConfigurationFor(std::int32_t channelCount) noexcept {
    if (channelCount < 0) return 0;
    if (channelCount > kMaxCount) channelCount = kMaxCount;
    return kConfigurationForCount[channelCount];
}

const char* channelConfigurationName(std::int32_t configuration) noexcept {
    if (configuration < 0 || configuration > kMaxCount) return "n/a";
    return kConfigurationNames[configuration];
}

}  // namespace MX::link
