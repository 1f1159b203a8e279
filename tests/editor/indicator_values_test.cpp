// The rows the indicators show: the connection light by state and clock, the
// channel display by output arrangement.
#include <gtest/gtest.h>

#include "editor/indicator_values.h"

namespace {

using MX::editor::channelDisplayValue;
using MX::editor::connectionLightValue;
using State = MX::link::ConnectionState;

TEST(ConnectionLight, BlinksInTheFirstHalfOfEveryClockSecond) {
    EXPECT_EQ(connectionLightValue(State::kNotDelivering, 999), 14.01f);
    EXPECT_EQ(connectionLightValue(State::kNotDelivering, 1000), 7.01f);
    EXPECT_EQ(connectionLightValue(State::kNotDelivering, 1499), 7.01f);
    EXPECT_EQ(connectionLightValue(State::kNotDelivering, 1500), 14.01f);
    EXPECT_EQ(connectionLightValue(State::kSomeChannels, 250), 0.01f);
    EXPECT_EQ(connectionLightValue(State::kSomeChannels, 750), 14.01f);
    EXPECT_EQ(connectionLightValue(State::kNoRecord, 250), 0.01f);
    EXPECT_EQ(connectionLightValue(State::kNoRecord, 750), 14.01f);
    for (long t : {0L, 499L, 500L, 999L, 123456789L})
        EXPECT_EQ(connectionLightValue(State::kAllChannels, t), 0.01f) << t;
    // A failed clock (-1) lands in the dark half instead of reading a negative phase.
    EXPECT_EQ(connectionLightValue(State::kNotDelivering, -1), 14.01f);
    EXPECT_EQ(connectionLightValue(State::kNotDelivering, -600), 7.01f);
}

TEST(ChannelDisplay, OutputChannelCountPicksThePicture) {
    const float expected[] = {59.0001f,  59.0001f,  118.0001f, 118.0001f, 177.0001f,
                              177.0001f, 236.0001f, 236.0001f, 236.0001f};
    VstSpeakerArrangement output{};
    for (int n = 0; n <= 8; ++n) {
        output.numChannels = n;
        EXPECT_EQ(channelDisplayValue(&output), expected[n]) << n;
    }
    EXPECT_EQ(channelDisplayValue(nullptr), 59.0001f) << "no arrangement: Mono";
    output.numChannels = -5;
    EXPECT_EQ(channelDisplayValue(&output), 59.0001f) << "a negative count counts as 0";
    output.numChannels = 2147483647;
    EXPECT_EQ(channelDisplayValue(&output), 236.0001f);
}

}  // namespace
