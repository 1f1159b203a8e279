// Thousands of blocks through both process entries, across every turn the
// audio path can take, with the heap and the dynamic loader watched: a host's
// audio thread must see no allocation, no free and no loader call, neither in
// the block calls nor in setParameter, which automation calls there too.
#include <gtest/gtest.h>

#include <vector>

#include "tests/realtime/call_counters.h"
#include "tools/host/built_files.h"
#include "tools/host/plugin_host.h"
#include "tools/host/standin_module.h"

namespace druvo_test {
namespace {

using druvo_host::PluginInstance;

constexpr int kChannels = 6;
constexpr int kFrames = 256;
constexpr int kBlocksPerTurn = 1000;

// A host callback that allocates nothing, so whatever is counted is the plug-in's.
VstIntPtr VSTCALLBACK quietHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

class Buffers {
public:
    Buffers() {
        for (int c = 0; c < kChannels; ++c) {
            in_[c].assign(kFrames, 0.1f * static_cast<float>(c + 1));
            out_[c].assign(kFrames, 0.0f);
            inputs_[c] = in_[c].data();
            outputs_[c] = out_[c].data();
        }
    }
    float** inputs() { return inputs_; }
    float** outputs() { return outputs_; }
    float output(int channel, int frame) const { return out_[channel][frame]; }

private:
    std::vector<float> in_[kChannels], out_[kChannels];
    float* inputs_[kChannels];
    float* outputs_[kChannels];
};

class AudioThreadCalls : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        standin_ = druvo_host::StandinModule::load(druvo_host::builtStandinPath()).release();
        plugin_ = druvo_host::PluginModule::load(druvo_host::builtPluginPath()).release();
        ASSERT_NE(standin_, nullptr);
        ASSERT_NE(plugin_, nullptr);
    }

    void SetUp() override {
        ASSERT_NE(standin_, nullptr);
        ASSERT_NE(plugin_, nullptr);
        standin_->reset();
        standin_->control().renderMode = 1;
        first_ = PluginInstance::create(plugin_->main(), &quietHost);
        second_ = PluginInstance::create(plugin_->main(), &quietHost);
        ASSERT_NE(first_, nullptr);
        ASSERT_NE(second_, nullptr);
        first_->prepare(44100.0f, kFrames);
        second_->prepare(44100.0f, kFrames);
        resetAudioCallCounts();
    }

    // One host cycle: both instances, alternating the two process entries.
    void runBlocks(int blocks) {
        for (int b = 0; b < blocks; ++b) {
            for (PluginInstance* instance : {first_.get(), second_.get()}) {
                AudioCallScope scope;
                if (b % 2 == 0)
                    instance->processReplacing(buffers_.inputs(), buffers_.outputs(), kFrames);
                else
                    instance->process(buffers_.inputs(), buffers_.outputs(), kFrames);
            }
        }
    }

    // Automation: the parameter entry on the audio thread.
    static void automate(PluginInstance& instance, int selection) {
        AudioCallScope scope;
        instance.setParameter(static_cast<float>(selection) * 0.0625f);
    }

    static void expectNothingCounted() {
        const AudioCallCounts counts = audioCallCounts();
        EXPECT_EQ(counts.allocations, 0);
        EXPECT_EQ(counts.frees, 0);
        EXPECT_EQ(counts.loaderCalls, 0);
    }

    static inline druvo_host::StandinModule* standin_ = nullptr;
    static inline druvo_host::PluginModule* plugin_ = nullptr;
    std::unique_ptr<PluginInstance> first_, second_;
    Buffers buffers_;
};

TEST_F(AudioThreadCalls, CountersSeeThePluginsOwnCalls) {
    // Zero counts below prove something only if the plug-in's own heap and
    // loader calls reach the counters: building the first effect of the
    // process loads the instrument and allocates the effect.
    first_.reset();
    second_.reset();
    resetAudioCallCounts();
    {
        AudioCallScope scope;
        first_ = PluginInstance::create(plugin_->main(), &quietHost);
    }
    const AudioCallCounts counts = audioCallCounts();
    EXPECT_GT(counts.allocations, 0);
    EXPECT_GT(counts.loaderCalls, 0);
    EXPECT_TRUE(allocatorInterposed());
    EXPECT_TRUE(loaderInterposed());
}

TEST_F(AudioThreadCalls, ClaimDeliveryRefusalReleaseAndReclaim) {
    automate(*first_, 1);
    automate(*second_, 1);
    runBlocks(kBlocksPerTurn);  // the first claims bus 1 and delivers; the second is refused
    const MoltraxBusRecord& bus1 = standin_->record(0);
    EXPECT_NE(bus1.owner, 0);
    EXPECT_EQ(bus1.refCount, 1);
    EXPECT_GE(standin_->calls().getBusRecord, kBlocksPerTurn);  // the refused one asks every block
    EXPECT_GE(standin_->calls().render, kBlocksPerTurn);

    // Automation rewriting the same value: release, then claim again at the next block.
    for (int turn = 0; turn < kBlocksPerTurn; ++turn) {
        automate(*first_, 1);
        runBlocks(1);
    }
    EXPECT_EQ(bus1.refCount, 1);

    // The holder moves to another bus: the waiting instance gets bus 1.
    automate(*first_, 2);
    runBlocks(kBlocksPerTurn);
    EXPECT_EQ(bus1.refCount, 1);
    EXPECT_EQ(standin_->record(1).refCount, 1);
    expectNothingCounted();
}

TEST_F(AudioThreadCalls, ProgramChangeSelectionOffAndMissingRecords) {
    first_->dispatch(effSetProgram, 0, 3);  // UI thread: not watched
    runBlocks(kBlocksPerTurn);
    EXPECT_EQ(standin_->record(2).refCount, 1);
    first_->dispatch(effSetProgram, 0, 4);
    runBlocks(kBlocksPerTurn);
    EXPECT_EQ(standin_->record(2).refCount, 0);
    EXPECT_EQ(standin_->record(3).refCount, 1);

    automate(*first_, 0);  // off: pass-through only
    runBlocks(kBlocksPerTurn);
    EXPECT_EQ(standin_->record(3).refCount, 0);
    EXPECT_EQ(buffers_.output(0, 0), 0.1f);

    const int lookupsBefore = standin_->calls().getBusRecord;
    standin_->control().recordsNull = 1;  // the instrument has no record to give
    automate(*first_, 7);
    automate(*second_, 8);
    runBlocks(kBlocksPerTurn);
    EXPECT_EQ(standin_->calls().getBusRecord - lookupsBefore, 2 * kBlocksPerTurn);

    standin_->control().recordsNull = 0;
    standin_->record(6).enabled = 0;  // a disabled bus is refused every block
    runBlocks(kBlocksPerTurn);
    EXPECT_EQ(standin_->record(6).owner, 0);
    EXPECT_EQ(standin_->record(7).refCount, 1);
    expectNothingCounted();
}

}  // namespace
}  // namespace druvo_test
