#include "editor/indicator_values.h"

#include <algorithm>

#include "link/channel_configuration.h"

namespace MX::editor {

namespace {
constexpr std::int32_t kPictureForCount[] = {kPictureMono, kPictureMono, kPictureStereo,  kPictureStereo,
                                             kPictureQuad, kPictureQuad, kPictureSurround};
constexpr std::int32_t kMaxChannelCount = 6;
constexpr long kBlinkPeriodMs = 1000;
constexpr long kBlinkLitMs = 500;
}  // namespace

std::int32_t channelPicture(std::int32_t channelCount) noexcept {
    return kPictureForCount[std::clamp(channelCount, 0, kMaxChannelCount)];
}

float connectionLightValue(link::ConnectionState state, long clockMilliseconds) noexcept {
    if (state == link::ConnectionState::kAllChannels) return kLightGreen;
    // A clock that failed (-1) or ran backwards still lands in 0..999.
    const long phase = (clockMilliseconds % kBlinkPeriodMs + kBlinkPeriodMs) % kBlinkPeriodMs;
    if (phase >= kBlinkLitMs) return kLightDark;
    return state == link::ConnectionState::kNotDelivering ? kLightRed : kLightGreen;
}

float channelDisplayValue(const VstSpeakerArrangement* output) noexcept {
    const std::int32_t configuration = output ? link::channelConfigurationFor(output->numChannels) : 0;
    return pictureRow(channelPicture(configuration), kChannelPictureHeight);
}

float pictureRow(std::int32_t picture, int height) noexcept {
    return static_cast<float>(picture * static_cast<double>(height) + 0.0001);
}

}  // namespace MX::editor
