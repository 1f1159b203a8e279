// Audio through both process entries: pass-through, and the selected bus's
// block copied over the outputs.
#include <vector>

#include "tests/module/standin_sibling.h"

namespace druvo_test {
namespace {

using AudioPath = ModuleTest;

void setArrangements(PluginInstance& instance, VstInt32 inputChannels, VstInt32 outputChannels) {
    std::vector<unsigned char> input(8 + 112 * 8), output(8 + 112 * 8);
    reinterpret_cast<VstSpeakerArrangement*>(input.data())->numChannels = inputChannels;
    reinterpret_cast<VstSpeakerArrangement*>(output.data())->numChannels = outputChannels;
    ASSERT_EQ(instance.dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(input.data()), output.data()), 1);
}

// Expects output c, frames [from, to), to hold the bus block.
void expectBus(const AudioBlock& block, int channel, int from, int to) {
    for (int k = from; k < to; ++k) {
        ASSERT_EQ(block.output(channel, k), busSample(channel, k)) << "channel " << channel << " frame " << k;
    }
}

void expectInput(const AudioBlock& block, int channel, int from, int to) {
    for (int k = from; k < to; ++k) {
        ASSERT_EQ(block.output(channel, k), block.input(channel, k)) << "channel " << channel << " frame " << k;
    }
}

// One block that claims the bus; the claim clears whatever the record held.
void claim(PluginInstance& instance, int selection) {
    instance.selectBus(selection);
    AudioBlock block(16);
    instance.processReplacing(block);
    ASSERT_EQ(Standin::instance().record(selection - 1).owner, 1);
}

void expectValue(const AudioBlock& block, int channel, float value) {
    for (int k = 0; k < block.frames(); ++k) {
        ASSERT_EQ(block.output(channel, k), value) << "channel " << channel << " frame " << k;
    }
}

TEST_F(AudioPath, PassesInputsThroughWithNoBus) {
    auto instance = makeInstance();
    AudioBlock block(64);
    instance->processReplacing(block);
    for (int c = 0; c < kChannels; ++c) expectInput(block, c, 0, 64);
    block.resetOutputs();
    instance->processAccumulating(block);
    for (int c = 0; c < kChannels; ++c) expectInput(block, c, 0, 64);
    EXPECT_EQ(standin().calls().getBusRecord, 0);
    EXPECT_EQ(standin().calls().render, 0);
}

TEST_F(AudioPath, PassThroughFollowsTheArrangements) {
    auto instance = makeInstance();
    setArrangements(*instance, 2, 4);
    AudioBlock block(64);
    instance->processReplacing(block);
    expectInput(block, 0, 0, 64);
    expectInput(block, 1, 0, 64);
    expectValue(block, 2, 0.0f);
    expectValue(block, 3, 0.0f);
    expectValue(block, 4, AudioBlock::kUntouched);
    expectValue(block, 5, AudioBlock::kUntouched);
}

TEST_F(AudioPath, DeliversTheBusBlock) {
    auto instance = makeInstance();
    claim(*instance, 2);
    fillBus(record(1), 64);
    const int renders = standin().calls().render;
    AudioBlock block(64);
    instance->processReplacing(block);
    for (int c = 0; c < kChannels; ++c) expectBus(block, c, 0, 64);
    EXPECT_EQ(record(1).ready, 0);
    EXPECT_EQ(standin().calls().render, renders) << "a waiting block needs no render request";
}

TEST_F(AudioPath, BothEntriesReplaceTheOutputs) {
    auto instance = makeInstance();
    claim(*instance, 2);
    AudioBlock block(64);
    fillBus(record(1), 64);
    instance->processAccumulating(block);
    for (int c = 0; c < kChannels; ++c) expectBus(block, c, 0, 64);
    block.resetOutputs();
    fillBus(record(1), 64);
    instance->processReplacing(block);
    for (int c = 0; c < kChannels; ++c) expectBus(block, c, 0, 64);
}

TEST_F(AudioPath, ShortBusBlockLeavesTheTailPassedThrough) {
    auto instance = makeInstance();
    claim(*instance, 1);
    fillBus(record(0), 20);
    AudioBlock block(64);
    instance->processReplacing(block);
    for (int c = 0; c < kChannels; ++c) {
        expectBus(block, c, 0, 20);
        expectInput(block, c, 20, 64);
    }
}

TEST_F(AudioPath, LongBusBlockFillsOnlyTheHostBlock) {
    auto instance = makeInstance();
    claim(*instance, 1);
    fillBus(record(0), MOLTRAX_BUS_FRAMES);
    AudioBlock block(48);
    instance->processReplacing(block);
    for (int c = 0; c < kChannels; ++c) expectBus(block, c, 0, 48);
}

TEST_F(AudioPath, OnlyActiveChannelsAreDelivered) {
    auto instance = makeInstance();
    record(0).maxChannels = 2;
    claim(*instance, 1);
    fillBus(record(0), 64);
    AudioBlock block(64);
    instance->processReplacing(block);
    expectBus(block, 0, 0, 64);
    expectBus(block, 1, 0, 64);
    for (int c = 2; c < kChannels; ++c) expectInput(block, c, 0, 64);
}

TEST_F(AudioPath, StereoOutputTakesTwoBusChannels) {
    auto instance = makeInstance();
    setArrangements(*instance, 6, 2);
    claim(*instance, 1);
    fillBus(record(0), 64);
    AudioBlock block(64);
    instance->processReplacing(block);
    expectBus(block, 0, 0, 64);
    expectBus(block, 1, 0, 64);
    for (int c = 2; c < kChannels; ++c) expectValue(block, c, AudioBlock::kUntouched);
}

TEST_F(AudioPath, AsksTheSiblingToRenderWhenNoBlockWaits) {
    auto instance = makeInstance();
    instance->selectBus(4);
    AudioBlock block(64);
    instance->processReplacing(block);
    EXPECT_EQ(standin().calls().render, 1);
    EXPECT_EQ(standin().calls().lastRenderFrames, 64);
    for (int c = 0; c < kChannels; ++c) expectInput(block, c, 0, 64);

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
    for (int c = 0; c < kChannels; ++c) expectValue(block, c, AudioBlock::kUntouched);
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
    for (int c = 0; c < kChannels; ++c) expectInput(block, c, 0, 32);
    EXPECT_EQ(record(0).ready, 1);
    record(0).enabled = 1;
    record(0).owner = 9;
    block.resetOutputs();
    instance->processReplacing(block);
    for (int c = 0; c < kChannels; ++c) expectInput(block, c, 0, 32);
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
    setArrangements(*instance, 6, 2);
    instance->processReplacing(block);
    EXPECT_EQ(record(0).requestedChannels, 6);
    EXPECT_EQ(record(0).activeChannels, 6);
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
        expectInput(block, c, 0, 64);
    }
    EXPECT_EQ(standin().calls().render, 1);
}

}  // namespace
}  // namespace druvo_test
