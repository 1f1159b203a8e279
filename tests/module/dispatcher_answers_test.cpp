// What the dispatcher answers for every opcode a host may send, and that the
// requests without an answer of their own change nothing.
#include <climits>
#include <cstring>

#include "tests/module/standin_sibling.h"

namespace druvo_test {
namespace {

using Dispatcher = ModuleTest;

struct Answer {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
    VstIntPtr expected;
};

TEST_F(Dispatcher, FixedAnswers) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    const Answer answers[] = {
        {effIdentify, 0, 0, 0.0f, 0x4E764566},
        {effGetVu, 0, 0, 0.0f, 0},
        {effGetVstVersion, 0, 0, 0.0f, 2400},
        {effKeysRequired, 0, 0, 0.0f, 1},
        {effGetCurrentMidiProgram, 0, 0, 0.0f, -1},
        {effGetNumProgramCategories, 0, 0, 0.0f, 1},
        {effCanBeAutomated, 0, 0, 0.0f, 1},
        {effCanBeAutomated, 7, 0, 0.0f, 1},
        {effConnectInput, 0, 1, 0.0f, 1},
        {effConnectInput, 5, 0, 0.0f, 1},
        {effConnectOutput, 3, 1, 0.0f, 1},
        {effConnectOutput, -2, 0, 0.0f, 1},
        {effSetTotalSampleToProcess, 0, 512, 0.0f, 512},
        {effSetTotalSampleToProcess, 0, -7, 0.0f, -7},
        {effSetBlockSizeAndSampleRate, 0, 256, 48000.0f, 1},
        {effSetSampleRate, 0, 0, 96000.0f, 0},
        {effSetBlockSize, 0, 4096, 0.0f, 0},
        {effMainsChanged, 0, 1, 0.0f, 0},
        {effMainsChanged, 0, 0, 0.0f, 0},
        {effGetPlugCategory, 0, 0, 0.0f, kPlugCategUnknown},
        {effGetVendorVersion, 0, 0, 0.0f, 0},
        {effGetTailSize, 0, 0, 0.0f, 0},
        {effOpen, 0, 0, 0.0f, 0},
    };
    for (const Answer& a : answers) {
        EXPECT_EQ(instance->dispatch(a.opcode, a.index, a.value, nullptr, a.opt), a.expected)
            << "opcode " << a.opcode << " index " << a.index << " value " << a.value;
    }
    // Resuming asks the host for nothing (no MIDI request), nor does any answer above.
    EXPECT_EQ(HostLog::calls().size(), 1u);
}

TEST_F(Dispatcher, RequestsWithoutAnAnswerChangeNothing) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    instance->selectBus(7);
    const VstInt32 opcodes[] = {effOpen,
                                effSetProgramName,
                                16,
                                17,
                                18,
                                20,
                                21,
                                effGetChunk,
                                effSetChunk,
                                effProcessEvents,
                                effCopyProgram,
                                effGetInputProperties,
                                effGetOutputProperties,
                                effGetCurrentPosition,
                                effGetDestinationBuffer,
                                effOfflineNotify,
                                effOfflinePrepare,
                                effOfflineRun,
                                effProcessVarIo,
                                effSetBypass,
                                effGetErrorText,
                                effVendorSpecific,
                                effIdle,
                                effGetIcon,
                                effSetViewPosition,
                                effGetParameterProperties,
                                effGetMidiProgramName,
                                effGetMidiProgramCategory,
                                effHasMidiProgramsChanged,
                                effGetMidiKeyName,
                                effBeginSetProgram,
                                effEndSetProgram,
                                effShellGetNextPlugin,
                                effStartProcess,
                                effStopProcess,
                                effSetPanLaw,
                                effBeginLoadBank,
                                effBeginLoadProgram,
                                effSetProcessPrecision,
                                effGetNumMidiInputChannels,
                                effGetNumMidiOutputChannels,
                                80,
                                81,
                                1000,
                                -1,
                                -1000,
                                INT_MAX,
                                INT_MIN};
    alignas(16) unsigned char scratch[4096] = {};
    const unsigned char zeros[sizeof scratch] = {};
    for (VstInt32 opcode : opcodes) {
        EXPECT_EQ(instance->dispatch(opcode, 0, 0, nullptr, 0.0f), 0)
            << "opcode " << opcode << ", null pointer";
        EXPECT_EQ(instance->dispatch(opcode, 1, 1, scratch, 1.0f), 0) << "opcode " << opcode;
        EXPECT_EQ(std::memcmp(scratch, zeros, sizeof scratch), 0)
            << "opcode " << opcode << " wrote into the host's memory";
    }
    EXPECT_EQ(instance->program(), 7);
    EXPECT_EQ(instance->getParameter(), 7 * 0.0625f);
    EXPECT_EQ(instance->text(effGetProgramName), "Moltrax Bus 7");
    EXPECT_EQ(instance->effect()->numInputs, 6);
    EXPECT_EQ(instance->effect()->numOutputs, 6);
    EXPECT_EQ(instance->effect()->flags, 0x1D);
    EXPECT_EQ(HostLog::calls().size(), 1u);
}

TEST_F(Dispatcher, NullTextPointersWriteNothing) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    instance->selectBus(9);
    for (VstInt32 opcode : {effGetProgramName, effGetParamLabel, effGetParamDisplay, effGetParamName,
                            effString2Parameter, effGetProgramNameIndexed, effGetEffectName,
                            effGetVendorString, effGetProductString, effSetProgramName, effCanDo})
        EXPECT_EQ(instance->dispatch(opcode, 0, 0, nullptr), 0) << opcode;
    EXPECT_EQ(instance->program(), 9);
}

TEST_F(Dispatcher, ChunksAreNotUsed) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    void* chunk = nullptr;
    EXPECT_EQ(instance->dispatch(effGetChunk, 0, 0, &chunk), 0);
    EXPECT_EQ(instance->dispatch(effGetChunk, 1, 0, &chunk), 0);
    EXPECT_EQ(chunk, nullptr);
}

TEST_F(Dispatcher, KnowsNoCapabilities) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    for (const char* capability : {"bypass", "receiveVstTimeInfo", "midiProgramNames", "sendVstEvents",
                                   "receiveVstEvents", "plugAsChannelInsert", ""}) {
        EXPECT_EQ(instance->dispatch(effCanDo, 0, 0, const_cast<char*>(capability)), 0) << capability;
    }
    EXPECT_EQ(instance->dispatch(effCanDo, 0, 0, nullptr), 0);
}

TEST_F(Dispatcher, CloseAnswersOne) {
    auto instance = makeInstance();
    ASSERT_NE(instance, nullptr);
    EXPECT_EQ(instance->close(), 1);
}

}  // namespace
}  // namespace druvo_test
