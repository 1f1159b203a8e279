// What the effect tells the host about itself: its speaker arrangements and
// its names. The product string carries the output's channel configuration.
#include <cstdio>

#include "link/channel_configuration.h"
#include "plugin/druvo.h"
#include "plugin/host_text.h"

namespace MX {

namespace {

bool channelCountAcceptable(const VstSpeakerArrangement& arrangement) noexcept {
    return arrangement.numChannels >= 0 && arrangement.numChannels <= AudioEffectX::kMaxArrangementChannels;
}

}  // namespace

// Takes copies of both host arrangements, or neither: an arrangement with a
// negative or absurd channel count, or a failed allocation, keeps the old pair.
// The pin counts stay at 6 whatever the host proposes.
bool Druvo::setSpeakerArrangement(VstSpeakerArrangement* input, VstSpeakerArrangement* output) {
    if (!input || !output) return false;
    if (!channelCountAcceptable(*input) || !channelCountAcceptable(*output)) return false;

    VstSpeakerArrangement* newOutput = nullptr;
    VstSpeakerArrangement* newInput = nullptr;
    if (!matchArrangement(&newOutput, output) || !matchArrangement(&newInput, input)) {
        deallocateArrangement(&newOutput);
        deallocateArrangement(&newInput);
        return false;
    }
    deallocateArrangement(&outputArrangement_);
    outputArrangement_ = newOutput;
    deallocateArrangement(&inputArrangement_);
    inputArrangement_ = newInput;
    return true;
}

// The places receive the effect's own arrangements, which stay valid until the
// next setSpeakerArrangement or the effect's destruction.
bool Druvo::getSpeakerArrangement(VstSpeakerArrangement** input, VstSpeakerArrangement** output) {
    if (!input || !output) return false;
    *input = inputArrangement_;
    *output = outputArrangement_;
    return true;
}

bool Druvo::getEffectName(char* name) {
    if (!name) return false;
    std::snprintf(name, host_text::kEffectNameBytes, "Moltrax");
    return true;
}

bool Druvo::getVendorString(char* text) {
    if (!text) return false;
    std::snprintf(text, host_text::kVendorBytes, "Quandrelle");
    return true;
}

bool Druvo::getProductString(char* text) {
    if (!text) return false;
    const std::int32_t configuration =
        outputArrangement_ ? link::channelConfigurationFor(outputArrangement_->numChannels) : 0;
    std::snprintf(text, host_text::kProductBytes, "Moltrax Bus (%s)",
                  link::channelConfigurationName(configuration));
    return true;
}

}  // namespace MX
