// Speaker arrangements the host proposes, and the names the effect reports.
#include <cstdlib>
#include <cstring>
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

TEST_F(Identity, ConstructionArrangementsAreFiveOneOfZeroSpeakers) {
    MX::Druvo& effect = makeEffect();
    for (const VstSpeakerArrangement* a : {effect.inputArrangement(), effect.outputArrangement()}) {
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->type, kSpeakerArr51);
        EXPECT_EQ(a->numChannels, 6);
        const VstSpeakerProperties zero{};
        for (VstInt32 i = 0; i < 6; ++i)
            EXPECT_EQ(std::memcmp(X::speakerAt(a, i), &zero, sizeof zero), 0);
    }
    EXPECT_EQ(productString(effect), "Moltrax Bus (5.1)");
}

TEST_F(Identity, ProductStringNamesTheOutputConfiguration) {
    MX::Druvo& effect = makeEffect();
    const std::pair<VstInt32, const char*> cases[] = {
        {0, "Moltrax Bus (n/a)"}, {1, "Moltrax Bus (1.0)"}, {2, "Moltrax Bus (2.0)"},
        {3, "Moltrax Bus (2.0)"}, {4, "Moltrax Bus (4.0)"}, {5, "Moltrax Bus (4.0)"},
        {6, "Moltrax Bus (5.1)"}, {8, "Moltrax Bus (5.1)"},
    };
    HostArrangement input(6);
    for (const auto& [channels, expected] : cases) {
        HostArrangement output(channels);
        ASSERT_TRUE(effect.setSpeakerArrangement(input.arrangement, output.arrangement));
        EXPECT_EQ(productString(effect), expected);
    }
}

TEST_F(Identity, TakesCopiesOfTheHostArrangements) {
    MX::Druvo& effect = makeEffect();
    HostArrangement input(1, 0), output(2, 1);
    std::strcpy(X::speakerAt(output.arrangement, 1)->name, "R");
    X::speakerAt(output.arrangement, 1)->azimuth = -0.5f;

    EXPECT_EQ(dispatch(effect, effSetSpeakerArrangement, 0,
                       reinterpret_cast<VstIntPtr>(input.arrangement), output.arrangement), 1);
    VstSpeakerArrangement* in = nullptr;
    VstSpeakerArrangement* out = nullptr;
    EXPECT_EQ(dispatch(effect, effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out), 1);
    ASSERT_NE(out, output.arrangement);
    ASSERT_NE(in, input.arrangement);
    EXPECT_EQ(out->numChannels, 2);
    EXPECT_EQ(out->type, 1);
    EXPECT_STREQ(X::speakerAt(out, 1)->name, "R");
    EXPECT_EQ(X::speakerAt(out, 1)->azimuth, -0.5f);
    EXPECT_EQ(in->numChannels, 1);
    // Pin counts never follow the arrangements.
    EXPECT_EQ(effect.getAeffect()->numInputs, 6);
    EXPECT_EQ(effect.getAeffect()->numOutputs, 6);
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

TEST_F(Identity, FewerInputsThanOutputsAreAccepted) {
    MX::Druvo& effect = makeEffect();
    HostArrangement mono(1), six(6);
    EXPECT_TRUE(effect.setSpeakerArrangement(mono.arrangement, six.arrangement));
}

TEST_F(Identity, Names) {
    MX::Druvo& effect = makeEffect();
    char text[128];
    EXPECT_EQ(dispatch(effect, effGetEffectName, 0, 0, text), 1);
    EXPECT_STREQ(text, "Moltrax");
    EXPECT_EQ(dispatch(effect, effGetVendorString, 0, 0, text), 1);
    EXPECT_STREQ(text, "Quandrelle");
    EXPECT_EQ(dispatch(effect, effGetProductString, 0, 0, text), 1);
    EXPECT_STREQ(text, "Moltrax Bus (5.1)");
}

}  // namespace
