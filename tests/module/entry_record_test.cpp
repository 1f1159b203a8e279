// The entry point and the interface record a host receives.
#include <cstring>

#include "tests/module/standin_sibling.h"

namespace druvo_test {
namespace {

using EntryPoint = ModuleTest;

TEST_F(EntryPoint, AsksTheHostVersionAndNothingElseWhileBuilding) {
    auto effect = makeInstance();
    ASSERT_NE(effect, nullptr);
    ASSERT_EQ(HostLog::calls().size(), 1u);
    const HostCall& call = HostLog::calls()[0];
    EXPECT_EQ(call.effect, nullptr);
    EXPECT_EQ(call.opcode, audioMasterVersion);
    EXPECT_EQ(call.index, 0);
    EXPECT_EQ(call.value, 0);
    EXPECT_EQ(call.ptr, nullptr);
    EXPECT_EQ(call.opt, 0.0f);
}

TEST_F(EntryPoint, RecordCarriesTheEffectIdentity) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    const AEffect& e = *instance->effect();
    EXPECT_EQ(e.magic, kEffectMagic);
    EXPECT_EQ(e.numPrograms, 17);
    EXPECT_EQ(e.numParams, 1);
    EXPECT_EQ(e.numInputs, 6);
    EXPECT_EQ(e.numOutputs, 6);
    EXPECT_EQ(e.flags, 0x1D);
    EXPECT_EQ(e.uniqueID, 0x56535462);
    EXPECT_EQ(e.version, 1);
    EXPECT_EQ(e.ioRatio, 1.0f);
    EXPECT_EQ(e.resvd1, 0);
    EXPECT_EQ(e.resvd2, 0);
    EXPECT_EQ(e.initialDelay, 0);
    EXPECT_EQ(e.realQualities, 0);
    EXPECT_EQ(e.offQualities, 0);
    EXPECT_EQ(e.user, nullptr);
    EXPECT_NE(e.object, nullptr);
    EXPECT_NE(e.dispatcher, nullptr);
    EXPECT_NE(e.process, nullptr);
    EXPECT_NE(e.processReplacing, nullptr);
    EXPECT_NE(e.processDoubleReplacing, nullptr);
    EXPECT_NE(e.setParameter, nullptr);
    EXPECT_NE(e.getParameter, nullptr);
    const char zeros[sizeof e.future] = {};
    EXPECT_EQ(std::memcmp(e.future, zeros, sizeof zeros), 0);
}

TEST_F(EntryPoint, EveryCallBuildsAnIndependentEffect) {
    auto first = makeInstance();
    auto second = makeInstance();
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first->effect(), second->effect());
    EXPECT_NE(first->effect()->object, second->effect()->object);
    first->selectBus(4);
    EXPECT_EQ(first->program(), 4);
    EXPECT_EQ(second->program(), 0);
}

TEST_F(EntryPoint, HostVersionZeroBuildsNothing) {
    HostLog::setVersionAnswer(0);
    EXPECT_EQ(PluginModule::instance().main()(&HostLog::callback), nullptr);
    EXPECT_EQ(HostLog::calls().size(), 1u);
    // Nothing was built: the sibling was not loaded and the instance counter
    // did not move, so the next effect is still number 1.
    EXPECT_EQ(standin().calls().connect, 0);
    HostLog::setVersionAnswer(2400);
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    instance->selectBus(1);
    AudioBlock block(16);
    instance->processReplacing(block);
    EXPECT_EQ(record(0).owner, 1);
}

TEST_F(EntryPoint, NullHostCallbackBuildsNothing) {
    EXPECT_EQ(PluginModule::instance().main()(nullptr), nullptr);
    EXPECT_EQ(standin().calls().connect, 0);
}

TEST_F(EntryPoint, DoublePrecisionEntryWritesNothing) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    double in[kChannels][8] = {};
    double out[kChannels][8];
    double* inputs[kChannels];
    double* outputs[kChannels];
    for (int c = 0; c < kChannels; ++c) {
        for (double& sample : out[c]) sample = 5.0;
        inputs[c] = in[c];
        outputs[c] = out[c];
    }
    AEffect* e = instance->effect();
    e->processDoubleReplacing(e, inputs, outputs, 8);
    for (int c = 0; c < kChannels; ++c) {
        for (double sample : out[c]) EXPECT_EQ(sample, 5.0);
    }
}

}  // namespace
}  // namespace druvo_test
