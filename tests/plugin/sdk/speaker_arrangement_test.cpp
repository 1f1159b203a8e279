// Speaker-arrangement helpers: sizing, copying and refusal of bad counts.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "plugin/sdk/audioeffectx.h"

namespace {

using X = AudioEffectX;

TEST(SpeakerArrangement, AllocatesZeroFilledForTheRealCount) {
    VstSpeakerArrangement* place = nullptr;
    ASSERT_TRUE(X::allocateArrangement(&place, 12));
    EXPECT_EQ(place->numChannels, 12);
    EXPECT_EQ(place->type, 0);
    // Speaker 11 lies beyond the declared array; it must be allocated and zero.
    const VstSpeakerProperties* last = X::speakerAt(place, 11);
    const VstSpeakerProperties zero{};
    EXPECT_EQ(std::memcmp(last, &zero, sizeof zero), 0);

    ASSERT_TRUE(X::allocateArrangement(&place, 0));
    EXPECT_EQ(place->numChannels, 0);
    EXPECT_TRUE(X::deallocateArrangement(&place));
    EXPECT_EQ(place, nullptr);
}

TEST(SpeakerArrangement, RefusesCountsThatCannotBeTakenAndKeepsThePlace) {
    VstSpeakerArrangement* place = nullptr;
    ASSERT_TRUE(X::allocateArrangement(&place, 2));
    VstSpeakerArrangement* const before = place;
    EXPECT_FALSE(X::allocateArrangement(&place, -1));
    EXPECT_FALSE(X::allocateArrangement(&place, X::kMaxArrangementChannels + 1));
    EXPECT_FALSE(X::allocateArrangement(&place, 0x7FFFFFFF));
    EXPECT_EQ(place, before);
    EXPECT_EQ(place->numChannels, 2);
    X::deallocateArrangement(&place);
    EXPECT_FALSE(X::allocateArrangement(nullptr, 2));
}

TEST(SpeakerArrangement, CopySpeakerBoundsTheName) {
    VstSpeakerProperties from{};
    from.azimuth = 0.25f;
    from.elevation = -0.5f;
    from.radius = 2.0f;
    from.reserved = 3.0f;
    from.type = 7;
    std::memset(from.name, 'x', sizeof from.name);  // no terminator at all
    std::memset(from.future, 0x5A, sizeof from.future);

    VstSpeakerProperties to;
    std::memset(&to, 0xEE, sizeof to);
    ASSERT_TRUE(X::copySpeaker(&to, &from));
    EXPECT_EQ(std::strlen(to.name), 63u);
    EXPECT_EQ(to.type, 7);
    EXPECT_EQ(to.azimuth, 0.25f);
    EXPECT_EQ(to.elevation, -0.5f);
    EXPECT_EQ(to.radius, 2.0f);
    EXPECT_EQ(to.reserved, 3.0f);
    EXPECT_EQ(std::memcmp(to.future, from.future, sizeof to.future), 0);

    EXPECT_FALSE(X::copySpeaker(nullptr, &from));
    EXPECT_FALSE(X::copySpeaker(&to, nullptr));
}

TEST(SpeakerArrangement, MatchCopiesTypeAndEverySpeaker) {
    VstSpeakerArrangement* from = nullptr;
    ASSERT_TRUE(X::allocateArrangement(&from, 10));
    from->type = 26;
    for (VstInt32 i = 0; i < 10; ++i) {
        X::speakerAt(from, i)->type = i + 1;
        std::snprintf(X::speakerAt(from, i)->name, 64, "speaker %d", i);
    }
    VstSpeakerArrangement* place = nullptr;
    ASSERT_TRUE(X::allocateArrangement(&place, 3));
    ASSERT_TRUE(X::matchArrangement(&place, from));
    EXPECT_NE(place, from);
    EXPECT_EQ(place->type, 26);
    EXPECT_EQ(place->numChannels, 10);
    EXPECT_EQ(X::speakerAt(place, 9)->type, 10);
    EXPECT_STREQ(X::speakerAt(place, 9)->name, "speaker 9");

    EXPECT_FALSE(X::matchArrangement(&place, nullptr));
    X::deallocateArrangement(&place);
    X::deallocateArrangement(&from);
}

}  // namespace
