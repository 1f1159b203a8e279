// Speaker arrangements the host proposes and the names the effect reports.
#include <cstdio>
#include <cstring>
#include <vector>

#include "tests/module/standin_sibling.h"

namespace druvo_test {
namespace {

using ChannelConfiguration = ModuleTest;

// A host-owned arrangement of any channel count, laid out as the interface
// does: an 8-byte head and 112 bytes per speaker.
class HostArrangement {
public:
    HostArrangement(VstInt32 type, VstInt32 channels)
        : bytes_(8 + 112 * static_cast<std::size_t>(channels > 0 ? channels : 0) +
                 sizeof(VstSpeakerArrangement)) {
        get()->type = type;
        get()->numChannels = channels;
        for (VstInt32 i = 0; i < channels; ++i) {
            VstSpeakerProperties& s = speaker(i);
            s.azimuth = 0.5f * static_cast<float>(i);
            s.elevation = -0.25f;
            s.radius = 1.0f + static_cast<float>(i);
            s.reserved = 3.0f;
            std::snprintf(s.name, sizeof s.name, "Speaker %d", i);
            s.type = i + 1;
            for (std::size_t b = 0; b < sizeof s.future; ++b) s.future[b] = static_cast<char>(b + i);
        }
    }
    VstSpeakerArrangement* get() { return reinterpret_cast<VstSpeakerArrangement*>(bytes_.data()); }
    VstSpeakerProperties& speaker(int i) {
        return *reinterpret_cast<VstSpeakerProperties*>(bytes_.data() + 8 +
                                                        112 * static_cast<std::size_t>(i));
    }

private:
    std::vector<unsigned char> bytes_;
};

const VstSpeakerProperties& speakerOf(const VstSpeakerArrangement* arrangement, int i) {
    return *reinterpret_cast<const VstSpeakerProperties*>(
        reinterpret_cast<const unsigned char*>(arrangement) + 8 + 112 * i);
}

struct Places {
    VstSpeakerArrangement* input = nullptr;
    VstSpeakerArrangement* output = nullptr;
};

Places arrangementsOf(PluginInstance& instance) {
    Places places;
    EXPECT_EQ(instance.dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&places.input),
                                &places.output),
              1);
    return places;
}

VstIntPtr setArrangements(PluginInstance& instance, VstSpeakerArrangement* input,
                          VstSpeakerArrangement* output) {
    return instance.dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(input), output);
}

TEST_F(ChannelConfiguration, Names) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    VstIntPtr result = 0;
    EXPECT_EQ(instance->text(effGetEffectName, 0, &result), "Moltrax");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(instance->text(effGetVendorString, 0, &result), "Quandrelle");
    EXPECT_EQ(result, 1);
    EXPECT_EQ(instance->text(effGetProductString, 0, &result), "Moltrax Bus (5.1)");
    EXPECT_EQ(result, 1);
}

TEST_F(ChannelConfiguration, StartsWithTwoZeroedSixChannelArrangements) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    const Places places = arrangementsOf(*instance);
    for (const VstSpeakerArrangement* arrangement : {places.input, places.output}) {
        ASSERT_NE(arrangement, nullptr);
        EXPECT_EQ(arrangement->type, kSpeakerArr51);
        EXPECT_EQ(arrangement->numChannels, 6);
        const unsigned char* speakers = reinterpret_cast<const unsigned char*>(arrangement) + 8;
        for (int b = 0; b < 6 * 112; ++b) ASSERT_EQ(speakers[b], 0) << "speaker byte " << b;
    }
    EXPECT_NE(places.input, places.output);
}

TEST_F(ChannelConfiguration, ProductNamesTheOutputConfiguration) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    const struct {
        VstInt32 channels;
        const char* product;
    } cases[] = {{2, "Moltrax Bus (2.0)"}, {3, "Moltrax Bus (2.0)"}, {5, "Moltrax Bus (4.0)"},
                 {8, "Moltrax Bus (5.1)"}, {0, "Moltrax Bus (n/a)"}, {1, "Moltrax Bus (1.0)"},
                 {4, "Moltrax Bus (4.0)"}, {6, "Moltrax Bus (5.1)"}};
    HostArrangement input(kSpeakerArr51, 6);
    for (const auto& c : cases) {
        HostArrangement output(0, c.channels);
        EXPECT_EQ(setArrangements(*instance, input.get(), output.get()), 1);
        EXPECT_EQ(instance->text(effGetProductString), c.product) << c.channels << " channels";
        EXPECT_EQ(instance->effect()->numInputs, 6);
        EXPECT_EQ(instance->effect()->numOutputs, 6);
    }
}

TEST_F(ChannelConfiguration, KeepsItsOwnCopiesOfTheHostArrangements) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    HostArrangement input(7, 3);
    HostArrangement output(11, 8);
    ASSERT_EQ(setArrangements(*instance, input.get(), output.get()), 1);
    const Places places = arrangementsOf(*instance);
    ASSERT_NE(places.input, nullptr);
    ASSERT_NE(places.output, nullptr);
    EXPECT_NE(places.input, input.get());
    EXPECT_NE(places.output, output.get());
    // The host may free its own arrangements at once.
    HostArrangement expectedInput(7, 3);
    HostArrangement expectedOutput(11, 8);
    std::memset(input.get(), 0xEE, 8 + 3 * 112);
    std::memset(output.get(), 0xEE, 8 + 8 * 112);
    struct Pair {
        VstSpeakerArrangement* copy;
        HostArrangement* expected;
    };
    for (Pair pair : {Pair{places.input, &expectedInput}, Pair{places.output, &expectedOutput}}) {
        EXPECT_EQ(pair.copy->type, pair.expected->get()->type);
        ASSERT_EQ(pair.copy->numChannels, pair.expected->get()->numChannels);
        for (int i = 0; i < pair.copy->numChannels; ++i) {
            EXPECT_EQ(std::memcmp(&speakerOf(pair.copy, i), &pair.expected->speaker(i), 112), 0)
                << "speaker " << i;
        }
    }
}

TEST_F(ChannelConfiguration, SpeakerNamesAreCutToSixtyThreeCharacters) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    HostArrangement input(kSpeakerArr51, 1);
    HostArrangement output(kSpeakerArr51, 1);
    std::memset(output.speaker(0).name, 'A', sizeof output.speaker(0).name);  // no terminator
    ASSERT_EQ(setArrangements(*instance, input.get(), output.get()), 1);
    const VstSpeakerProperties& copy = speakerOf(arrangementsOf(*instance).output, 0);
    EXPECT_EQ(std::string(copy.name, 63), std::string(63, 'A'));
    EXPECT_EQ(copy.name[63], '\0');
    EXPECT_EQ(copy.type, 1);
}

// A missing arrangement, a negative count or one too large to read is
// refused, and both arrangements stay as they were.
TEST_F(ChannelConfiguration, UnusableArrangementsAreRefused) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    HostArrangement six(kSpeakerArr51, 6);
    HostArrangement stereo(0, 2);
    ASSERT_EQ(setArrangements(*instance, six.get(), stereo.get()), 1);
    const Places before = arrangementsOf(*instance);
    HostArrangement negative(0, -1);
    HostArrangement absurd(0, 0);
    absurd.get()->numChannels = 1 << 20;  // refused before any of its speakers is read
    EXPECT_EQ(setArrangements(*instance, nullptr, stereo.get()), 0);
    EXPECT_EQ(setArrangements(*instance, stereo.get(), nullptr), 0);
    EXPECT_EQ(setArrangements(*instance, nullptr, nullptr), 0);
    EXPECT_EQ(setArrangements(*instance, six.get(), negative.get()), 0);
    EXPECT_EQ(setArrangements(*instance, negative.get(), six.get()), 0);
    EXPECT_EQ(setArrangements(*instance, negative.get(), negative.get()), 0);
    EXPECT_EQ(setArrangements(*instance, six.get(), absurd.get()), 0);
    const Places after = arrangementsOf(*instance);
    EXPECT_EQ(after.input, before.input);
    EXPECT_EQ(after.output, before.output);
    EXPECT_EQ(after.output->numChannels, 2);
    EXPECT_EQ(instance->text(effGetProductString), "Moltrax Bus (2.0)");

    VstSpeakerArrangement* place = nullptr;
    EXPECT_EQ(instance->dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&place), nullptr),
              0);
    EXPECT_EQ(place, nullptr);
}

}  // namespace
}  // namespace druvo_test
