// Bus selections from out-of-range parameter values and programs, bounded
// texts and null text pointers, and which changes release a claimed bus.
#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "tests/plugin/druvo_fixture.h"

namespace {

using BusSelection = DruvoTest;

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
    EXPECT_EQ(effect.getParameter(0), 0.25f);
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
