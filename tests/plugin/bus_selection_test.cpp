// The parameter and the programs as views of the bus selection, the texts
// that name it, and the release of a claimed bus when it changes.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "tests/plugin/druvo_fixture.h"

namespace {

using BusSelection = DruvoTest;

std::string display(MX::Druvo& effect) {
    char text[64] = {};
    effect.getParameterDisplay(0, text);
    return text;
}

std::string programName(MX::Druvo& effect) {
    char text[64] = {};
    effect.getProgramName(text);
    return text;
}

TEST_F(BusSelection, EveryStepOfTheParameterIsABus) {
    MX::Druvo& effect = makeEffect();
    for (int n = 0; n <= 16; ++n) {
        SCOPED_TRACE(n);
        effect.setParameter(0, static_cast<float>(n * 0.0625));
        EXPECT_EQ(effect.busSelection(), n);
        EXPECT_EQ(effect.getProgram(), n);
        EXPECT_EQ(effect.getParameter(0), n / 16.0f);
    }
}

TEST_F(BusSelection, ViewsOfOneSelection) {
    MX::Druvo& effect = makeEffect();
    effect.setParameter(0, 0.5f);
    EXPECT_EQ(display(effect), "08");
    EXPECT_EQ(programName(effect), "Moltrax Bus 8");

    effect.setParameter(0, 0.06f);
    EXPECT_EQ(effect.busSelection(), 0);
    EXPECT_EQ(display(effect), "Off");
    EXPECT_EQ(programName(effect), " <Not Connected>");
    EXPECT_EQ(effect.getParameter(0), 0.0f);

    effect.setProgram(16);
    EXPECT_EQ(effect.getParameter(0), 1.0f);
    EXPECT_EQ(display(effect), "16");
}

TEST_F(BusSelection, ValuesOutsideTheRangeAreClampedAndNaNIsIgnored) {
    MX::Druvo& effect = makeEffect();
    effect.setParameter(0, 1.5f);
    EXPECT_EQ(effect.busSelection(), 16);
    effect.setParameter(0, std::numeric_limits<float>::infinity());
    EXPECT_EQ(effect.busSelection(), 16);
    effect.setParameter(0, -0.07f);
    EXPECT_EQ(effect.busSelection(), 0);
    effect.setParameter(0, -std::numeric_limits<float>::infinity());
    EXPECT_EQ(effect.busSelection(), 0);

    effect.setParameter(0, 0.25f);
    effect.setParameter(0, std::nanf(""));
    EXPECT_EQ(effect.busSelection(), 4);
}

TEST_F(BusSelection, ProgramsOutsideTheRangeAreRefused) {
    MX::Druvo& effect = makeEffect();
    effect.setProgram(5);
    dispatch(effect, effSetProgram, 0, -1);
    dispatch(effect, effSetProgram, 0, 17);
    effect.setProgram(-3);
    effect.setProgram(40);
    EXPECT_EQ(effect.getProgram(), 5);
    EXPECT_EQ(dispatch(effect, effGetProgram), 5);
}

TEST_F(BusSelection, TypedText) {
    MX::Druvo& effect = makeEffect();
    char twelve[] = "12", letters[] = "abc", seventeen[] = "17", negative[] = "-3",
         huge[] = "99999999999999999999", padded[] = "  7 dB";
    EXPECT_EQ(dispatch(effect, effString2Parameter, 0, 0, twelve), 1);
    EXPECT_EQ(effect.busSelection(), 12);
    EXPECT_FALSE(effect.string2parameter(0, seventeen));
    EXPECT_FALSE(effect.string2parameter(0, negative));
    EXPECT_FALSE(effect.string2parameter(0, huge));
    EXPECT_FALSE(effect.string2parameter(0, nullptr));
    EXPECT_EQ(effect.busSelection(), 12);
    EXPECT_TRUE(effect.string2parameter(0, padded));
    EXPECT_EQ(effect.busSelection(), 7);
    EXPECT_TRUE(effect.string2parameter(0, letters));
    EXPECT_EQ(effect.busSelection(), 0);
}

TEST_F(BusSelection, IndexedProgramNames) {
    MX::Druvo& effect = makeEffect();
    char text[64];
    std::strcpy(text, "untouched");
    EXPECT_EQ(dispatch(effect, effGetProgramNameIndexed, 17, 0, text), 0);
    EXPECT_EQ(dispatch(effect, effGetProgramNameIndexed, -1, 0, text), 0);
    EXPECT_STREQ(text, "untouched");
    EXPECT_EQ(dispatch(effect, effGetProgramNameIndexed, 0, 0, text), 1);
    EXPECT_STREQ(text, " <Not Connected>");
    EXPECT_EQ(dispatch(effect, effGetProgramNameIndexed, 16, 3, text), 1);
    EXPECT_STREQ(text, "Moltrax Bus 16");
}

TEST_F(BusSelection, TextsStayWithinTheirBuffers) {
    MX::Druvo& effect = makeEffect();
    auto written = [&](VstInt32 opcode) {
        char text[128];
        std::memset(text, 0x7F, sizeof text);
        dispatch(effect, opcode, 0, 0, text);
        return std::string(text, strnlen(text, sizeof text));
    };
    EXPECT_EQ(written(effGetParamName), "Bus Selection");  // whole, beyond kVstMaxParamStrLen
    EXPECT_EQ(written(effGetParamLabel), "");
    effect.setProgram(9);
    EXPECT_EQ(written(effGetParamDisplay), "09");
    EXPECT_EQ(written(effGetProgramName), "Moltrax Bus 9");

    // Null text pointers: nothing is written and nothing crashes.
    for (VstInt32 opcode : {effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName,
                            effString2Parameter, effGetProgramNameIndexed, effGetEffectName,
                            effGetVendorString, effGetProductString, effSetProgramName, effCanDo})
        EXPECT_EQ(dispatch(effect, opcode, 0, 0, nullptr), 0) << opcode;
}

// ---- Release of the claimed bus ---------------------------------------------

TEST_F(BusSelection, ProgramChangeReleasesTheClaimedBusAndTheNextBlockClaimsTheNewOne) {
    fake_sibling::install();
    MoltraxBusRecord& bus3 = offerBus(3);
    MoltraxBusRecord& bus5 = offerBus(5);
    MX::Druvo& effect = makeEffect();
    effect.setParameter(0, 3 * 0.0625f);
    runBlock(effect);
    ASSERT_EQ(effect.claimedRecord(), &bus3);
    ASSERT_EQ(bus3.refCount, 1);

    dispatch(effect, effSetProgram, 0, 5);
    EXPECT_EQ(bus3.refCount, 0);
    EXPECT_EQ(bus3.owner, 0);
    EXPECT_EQ(effect.claimedRecord(), nullptr);
    runBlock(effect);
    EXPECT_EQ(effect.claimedRecord(), &bus5);
    EXPECT_EQ(bus5.owner, effect.instanceNumber());
}

TEST_F(BusSelection, AnUnchangedValueStillReleasesAndClaimsAgain) {
    fake_sibling::install();
    MoltraxBusRecord& bus2 = offerBus(2);
    MX::Druvo& effect = makeEffect();
    effect.setParameter(0, 0.125f);
    runBlock(effect);
    effect.setParameter(0, 0.125f);
    EXPECT_EQ(bus2.refCount, 0);
    runBlock(effect);
    EXPECT_EQ(bus2.refCount, 1);
    EXPECT_EQ(effect.claimedRecord(), &bus2);
}

TEST_F(BusSelection, RefusedOrIgnoredChangesKeepTheClaim) {
    fake_sibling::install();
    MoltraxBusRecord& bus1 = offerBus(1);
    MX::Druvo& effect = makeEffect();
    effect.setProgram(1);
    runBlock(effect);
    ASSERT_EQ(effect.claimedRecord(), &bus1);

    dispatch(effect, effSetProgram, 0, -4);
    effect.setParameter(0, std::nanf(""));
    char text[] = "9";
    effect.string2parameter(0, text);  // text entry never releases
    EXPECT_EQ(effect.claimedRecord(), &bus1);
    EXPECT_EQ(bus1.refCount, 1);
}

TEST_F(BusSelection, OnlyBusIndicesZeroToFifteenReachTheInstrument) {
    fake_sibling::install();
    MX::Druvo& effect = makeEffect();
    for (float value : {-5.0f, -0.07f, 0.0f, 0.0625f, 1.0f, 1.07f, 300.0f}) {
        effect.setParameter(0, value);
        runBlock(effect);
    }
    dispatch(effect, effSetProgram, 0, -7);
    runBlock(effect);
    ASSERT_FALSE(fake_sibling::lookedUp.empty());
    for (int index : fake_sibling::lookedUp) {
        EXPECT_GE(index, 0);
        EXPECT_LE(index, 15);
    }
}

}  // namespace
