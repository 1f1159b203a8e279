// Host arrangements the effect cannot take: both are refused together and the
// old pair stays.
#include <string>

#include "tests/plugin/druvo_fixture.h"

namespace {

using Identity = DruvoTest;
using X = AudioEffectX;

// A host-owned arrangement of `channels` speakers.
struct HostArrangement {
    explicit HostArrangement(VstInt32 channels, VstInt32 type = 0) {
        const bool allocatable = channels >= 0 && channels <= X::kMaxArrangementChannels;
        X::allocateArrangement(&arrangement, allocatable ? channels : 0);
        arrangement->numChannels = channels;
        arrangement->type = type;
    }
    ~HostArrangement() { X::deallocateArrangement(&arrangement); }
    VstSpeakerArrangement* arrangement = nullptr;
};

std::string productString(MX::Druvo& effect) {
    char text[128] = {};
    effect.getProductString(text);
    return text;
}

TEST_F(Identity, RefusedArrangementsLeaveBothAsTheyWere) {
    MX::Druvo& effect = makeEffect();
    HostArrangement stereo(2), six(6);
    ASSERT_TRUE(effect.setSpeakerArrangement(six.arrangement, stereo.arrangement));
    const VstSpeakerArrangement* input = effect.inputArrangement();
    const VstSpeakerArrangement* output = effect.outputArrangement();

    HostArrangement negative(-1), absurd(X::kMaxArrangementChannels + 1);
    EXPECT_FALSE(effect.setSpeakerArrangement(nullptr, stereo.arrangement));
    EXPECT_FALSE(effect.setSpeakerArrangement(stereo.arrangement, nullptr));
    EXPECT_FALSE(effect.setSpeakerArrangement(six.arrangement, negative.arrangement));
    EXPECT_FALSE(effect.setSpeakerArrangement(negative.arrangement, six.arrangement));
    // The absurd count is refused before any of its speakers is read.
    EXPECT_EQ(dispatch(effect, effSetSpeakerArrangement, 0,
                       reinterpret_cast<VstIntPtr>(six.arrangement), absurd.arrangement), 0);

    EXPECT_EQ(effect.inputArrangement(), input);
    EXPECT_EQ(effect.outputArrangement(), output);
    EXPECT_EQ(productString(effect), "Moltrax Bus (2.0)");

    VstSpeakerArrangement* place = nullptr;
    EXPECT_FALSE(effect.getSpeakerArrangement(&place, nullptr));
    EXPECT_EQ(place, nullptr);
}

}  // namespace
