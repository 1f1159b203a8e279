// Audio through both process entries: pass-through, and the selected bus's
// block copied over the outputs.
#include <algorithm>

#include "tests/module/standin_sibling.h"

namespace druvo_test {
namespace {

using AudioPath = ModuleTest;

// Expects outputs [first, last), frames [from, to), to hold the bus block.
void expectBus(const AudioBlock& block, int from, int to, int first = 0, int last = kChannels) {
    for (int c = first; c < last; ++c) {
        for (int k = from; k < to; ++k)
            ASSERT_EQ(block.output(c, k), busSample(c, k)) << "channel " << c << " frame " << k;
    }
}

void expectInput(const AudioBlock& block, int from, int to, int first = 0, int last = kChannels) {
    for (int c = first; c < last; ++c) {
        for (int k = from; k < to; ++k)
            ASSERT_EQ(block.output(c, k), block.input(c, k)) << "channel " << c << " frame " << k;
    }
}

void expectValue(const AudioBlock& block, float value, int first = 0, int last = kChannels) {
    for (int c = first; c < last; ++c) {
        for (int k = 0; k < block.frames(); ++k)
            ASSERT_EQ(block.output(c, k), value) << "channel " << c << " frame " << k;
    }
}

// One block that claims the bus; the claim clears whatever the record held.
void claim(PluginInstance& instance, int selection) {
    selectAndRun(instance, selection);
    ASSERT_EQ(Standin::instance().record(selection - 1).owner, 1);
}

// With a bus block of `busFrames` frames waiting on `selection`, one host block of `frames`.
AudioBlock playWaitingBlock(PluginInstance& instance, int selection, int busFrames, int frames = 64) {
    fillBus(Standin::instance().record(selection - 1), busFrames);
    AudioBlock block(frames);
    instance.processReplacing(block);
    return block;
}

TEST_F(AudioPath, PassesInputsThroughWithNoBus) {
    auto instance = makeInstance();
    AudioBlock block(64);
    instance->processReplacing(block);
    expectInput(block, 0, 64);
    block.resetOutputs();
    instance->processAccumulating(block);
    expectInput(block, 0, 64);
    EXPECT_EQ(standin().calls().getBusRecord, 0);
    EXPECT_EQ(standin().calls().render, 0);
}

TEST_F(AudioPath, PassThroughFollowsTheArrangements) {
    auto instance = makeInstance();
    ASSERT_TRUE(instance->setChannels(2, 4));
    AudioBlock block(64);
    instance->processReplacing(block);
    expectInput(block, 0, 64, 0, 2);
    expectValue(block, 0.0f, 2, 4);
    expectValue(block, AudioBlock::kUntouched, 4, kChannels);
}

// The bus block fills the host block up to the shorter of the two; the rest passes through.
TEST_F(AudioPath, DeliversTheBusBlock) {
    const struct {
        int busFrames;
        int hostFrames;
    } cases[] = {{64, 64}, {20, 64}, {MOLTRAX_BUS_FRAMES, 48}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.busFrames);
        auto instance = makeInstance();
        claim(*instance, 2);
        const int renders = standin().calls().render;
        const AudioBlock block = playWaitingBlock(*instance, 2, c.busFrames, c.hostFrames);
        const int delivered = std::min(c.busFrames, c.hostFrames);
        expectBus(block, 0, delivered);
        expectInput(block, delivered, c.hostFrames);
        EXPECT_EQ(record(1).ready, 0);
        EXPECT_EQ(standin().calls().render, renders) << "a waiting block needs no render request";
    }
}

TEST_F(AudioPath, BothEntriesReplaceTheOutputs) {
    auto instance = makeInstance();
    claim(*instance, 2);
    AudioBlock block(64);
    fillBus(record(1), 64);
    instance->processAccumulating(block);
    expectBus(block, 0, 64);
    block.resetOutputs();
    fillBus(record(1), 64);
    instance->processReplacing(block);
    expectBus(block, 0, 64);
}

TEST_F(AudioPath, OnlyActiveChannelsAreDelivered) {
    auto instance = makeInstance();
    record(0).maxChannels = 2;
    claim(*instance, 1);
    const AudioBlock block = playWaitingBlock(*instance, 1, 64);
    expectBus(block, 0, 64, 0, 2);
    expectInput(block, 0, 64, 2, kChannels);
}

TEST_F(AudioPath, StereoOutputTakesTwoBusChannels) {
    auto instance = makeInstance();
    ASSERT_TRUE(instance->setChannels(6, 2));
    claim(*instance, 1);
    const AudioBlock block = playWaitingBlock(*instance, 1, 64);
    expectBus(block, 0, 64, 0, 2);
    expectValue(block, AudioBlock::kUntouched, 2, kChannels);
}

TEST_F(AudioPath, AsksTheSiblingToRenderWhenNoBlockWaits) {
    auto instance = makeInstance();
    instance->selectBus(4);
    AudioBlock block(64);
    instance->processReplacing(block);
    EXPECT_EQ(standin().calls().render, 1);
    EXPECT_EQ(standin().calls().lastRenderFrames, 64);
    expectInput(block, 0, 64);

    standin().control().renderMode = 1;
    block.resetOutputs();
    instance->processReplacing(block);
    EXPECT_EQ(standin().calls().render, 2);
    EXPECT_EQ(record(3).ready, 0);
    for (int c = 0; c < kChannels; ++c) {
        for (int k = 0; k < 64; ++k) ASSERT_EQ(block.output(c, k), record(3).buffers[c][k]) << c << "," << k;
    }
    EXPECT_NE(block.output(0, 1), block.input(0, 1));
}

TEST_F(AudioPath, EmptyBlockConsumesAWaitingBlock) {
    auto instance = makeInstance();
    instance->selectBus(1);
    AudioBlock block(8);
    instance->processReplacing(block, 0);
    EXPECT_EQ(standin().calls().render, 1);
    EXPECT_EQ(standin().calls().lastRenderFrames, 0);
    fillBus(record(0), 8);
    instance->processReplacing(block, 0);
    EXPECT_EQ(record(0).ready, 0);
    EXPECT_EQ(standin().calls().render, 1);
    expectValue(block, AudioBlock::kUntouched);
}

TEST_F(AudioPath, DisabledOrTakenRecordKeepsThePassThrough) {
    auto instance = makeInstance();
    instance->selectBus(1);
    AudioBlock block(32);
    instance->processReplacing(block);
    ASSERT_EQ(record(0).owner, 1);
    record(0).enabled = 0;
    fillBus(record(0), 32);
    block.resetOutputs();
    instance->processReplacing(block);
    expectInput(block, 0, 32);
    EXPECT_EQ(record(0).ready, 1);
    record(0).enabled = 1;
    record(0).owner = 9;
    block.resetOutputs();
    instance->processReplacing(block);
    expectInput(block, 0, 32);
    EXPECT_EQ(record(0).ready, 1);
    // Still held: no new claim is tried.
    EXPECT_EQ(standin().calls().getBusRecord, 1);
}

TEST_F(AudioPath, ArrangementChangeAppliesAtTheNextClaim) {
    auto instance = makeInstance();
    instance->selectBus(1);
    AudioBlock block(32);
    instance->processReplacing(block);
    ASSERT_EQ(record(0).activeChannels, 6);
    ASSERT_TRUE(instance->setChannels(6, 2));
    instance->processReplacing(block);
    EXPECT_EQ(record(0).requestedChannels, 6);
    EXPECT_EQ(record(0).activeChannels, 6);
    instance->selectBus(0);
    instance->selectBus(1);
    instance->processReplacing(block);
    EXPECT_EQ(record(0).requestedChannels, 2);
    EXPECT_EQ(record(0).activeChannels, 2);
}

TEST_F(AudioPath, ClaimClearsTheStaleBlock) {
    auto instance = makeInstance();
    fillBus(record(0), 40);
    instance->selectBus(1);
    AudioBlock block(64);
    instance->processReplacing(block);
    // The claim zeroed the stale samples and dropped `ready`; the render
    // request found nothing new, so the outputs keep the pass-through.
    for (int c = 0; c < kChannels; ++c) {
        for (int k = 0; k < 40; ++k) ASSERT_EQ(record(0).buffers[c][k], 0.0f) << c << "," << k;
        ASSERT_EQ(record(0).buffers[c][40], busSample(c, 40));
    }
    expectInput(block, 0, 64);
    EXPECT_EQ(standin().calls().render, 1);
}

}  // namespace
}  // namespace druvo_test
