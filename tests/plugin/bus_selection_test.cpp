// Which selection changes release a claimed bus, and which bus indices reach
// the instrument, seen from the effect's side of the link.
#include <cmath>

#include "tests/plugin/druvo_fixture.h"

namespace {

using BusSelection = DruvoTest;

TEST_F(BusSelection, RefusedOrIgnoredChangesKeepTheClaim) {
    connectSibling();
    MoltraxBusRecord& bus1 = offerBus(1);
    MX::Druvo& effect = makeEffect();
    effect.setProgram(1);
    runBlock(effect);
    ASSERT_EQ(effect.claimedRecord(), &bus1);

    dispatch(effect, effSetProgram, 0, -4);
    effect.setParameter(0, std::nanf(""));
    effect.setParameter(0, 0.0640f);  // a ramp's next value on the same bus
    char same[] = "1";
    effect.string2parameter(0, same);
    dispatch(effect, effSetProgram, 0, 1);
    EXPECT_EQ(effect.claimedRecord(), &bus1);
    EXPECT_EQ(bus1.refCount, 1);

    char other[] = "9";
    effect.string2parameter(0, other);  // a typed change plays the typed bus
    EXPECT_EQ(effect.claimedRecord(), nullptr);
    EXPECT_EQ(bus1.refCount, 0);
}

TEST_F(BusSelection, OnlyBusIndicesZeroToFifteenReachTheInstrument) {
    connectSibling();
    MX::Druvo& effect = makeEffect();
    for (float value : {-5.0f, -0.07f, 0.0f, 0.0625f, 1.0f, 1.07f, 300.0f}) {
        effect.setParameter(0, value);
        runBlock(effect);
    }
    dispatch(effect, effSetProgram, 0, -7);
    runBlock(effect);
    ASSERT_FALSE(fake::lookedUp.empty());
    for (int index : fake::lookedUp) {
        EXPECT_GE(index, 0);
        EXPECT_LE(index, 15);
    }
}

}  // namespace
