// The two dispatchers and the record's entries, on the bases' defaults.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <map>
#include <stdexcept>

#include "tests/plugin/probe_effect.h"

namespace {

class Dispatcher : public ::testing::Test {
protected:
    void SetUp() override { fake_host::reset(); }
    ProbeEffect effect;
};

TEST_F(Dispatcher, DefaultsAnswerOnlyTheirTableAndReachNothingElse) {
    // Opcodes whose default answer is not 0 (value 512 for effSetTotalSampleToProcess).
    const std::map<VstInt32, VstIntPtr> answers = {
        {effIdentify, 0x4E764566},
        {effCanBeAutomated, 1},
        {effGetNumProgramCategories, 1},
        {effConnectInput, 1},
        {effConnectOutput, 1},
        {effSetBlockSizeAndSampleRate, 1},
        {effKeysRequired, 1},
        {effGetVstVersion, 2400},
        {effGetCurrentMidiProgram, -1},
        {effSetTotalSampleToProcess, 512},
        // The probe's own operations answer true.
        {effGetProgramNameIndexed, 1},
        {effSetSpeakerArrangement, 1},
        {effGetSpeakerArrangement, 1},
    };
    // Opcodes that reach one of the probe's operations.
    const std::map<VstInt32, std::string> operations = {
        {effOpen, "open"},
        {effClose, "close"},
        {effGetProgramName, "getProgramName"},
        {effGetParamDisplay, "getParameterDisplay"},
        {effSetSampleRate, "setSampleRate"},
        {effSetBlockSize, "setBlockSize"},
        {effMainsChanged, "resume"},
        {effGetProgramNameIndexed, "getProgramNameIndexed"},
        {effSetSpeakerArrangement, "setSpeakerArrangement"},
        {effSetBlockSizeAndSampleRate, "setBlockSizeAndSampleRate"},
        {effSetBypass, "setBypass"},
        {effGetSpeakerArrangement, "getSpeakerArrangement"},
    };
    char text[256] = {};
    for (VstInt32 opcode = -3; opcode <= 200; ++opcode) {
        if (opcode == effClose) continue;  // the entry deletes the effect; below
        SCOPED_TRACE(opcode);
        effect.reached.clear();
        const VstIntPtr result = effect.dispatch(opcode, 0, 512, text, 0.0f);
        const auto answer = answers.find(opcode);
        EXPECT_EQ(result, answer != answers.end() ? answer->second : 0);
        const auto operation = operations.find(opcode);
        if (operation != operations.end())
            EXPECT_EQ(effect.only(), operation->second);
        else
            EXPECT_TRUE(effect.reached.empty()) << effect.reached.front();
    }
}

TEST_F(Dispatcher, ProgramRequestsBelowTheProgramCountOnly) {
    effect.dispatch(effSetProgram, 0, 16);
    EXPECT_EQ(effect.only(), "setProgram");
    EXPECT_EQ(effect.int1, 16);

    effect.reached.clear();
    EXPECT_EQ(effect.dispatch(effSetProgram, 0, 17), 0);
    EXPECT_TRUE(effect.reached.empty());

    // Negative numbers pass the signed bound; the effect decides what to do.
    effect.reached.clear();
    effect.dispatch(effSetProgram, 0, -1);
    EXPECT_EQ(effect.int1, -1);

    if (sizeof(VstIntPtr) == 8) {
        // A value beyond 32 bits is never narrowed into a valid program.
        effect.reached.clear();
        effect.dispatch(effSetProgram, 0, static_cast<VstIntPtr>(-(std::int64_t{1} << 32) + 5));
        EXPECT_TRUE(effect.reached.empty());
    }
}

TEST_F(Dispatcher, DecodesArguments) {
    char text[64];
    effect.dispatch(effGetProgramNameIndexed, 3, 7, text);
    EXPECT_EQ(effect.int1, 7) << "the value is the category";
    EXPECT_EQ(effect.int2, 3) << "the index is the program";
    EXPECT_EQ(effect.ptr1, text);

    VstSpeakerArrangement in{}, out{};
    effect.dispatch(effSetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&in), &out);
    EXPECT_EQ(effect.ptr1, &in);
    EXPECT_EQ(effect.ptr2, &out);

    VstSpeakerArrangement* inPlace = nullptr;
    VstSpeakerArrangement* outPlace = nullptr;
    EXPECT_EQ(effect.dispatch(effGetSpeakerArrangement, 0, reinterpret_cast<VstIntPtr>(&inPlace), &outPlace),
              1);
    EXPECT_EQ(effect.ptr1, &inPlace);
    EXPECT_EQ(effect.ptr2, &outPlace);

    effect.dispatch(effSetBlockSizeAndSampleRate, 0, 256, nullptr, 48000.0f);
    EXPECT_EQ(effect.int1, 256);
    EXPECT_EQ(effect.real, 48000.0f);

    effect.reached.clear();
    effect.dispatch(effMainsChanged, 0, 0);
    effect.dispatch(effMainsChanged, 0, 2);
    EXPECT_EQ(effect.reached, (std::vector<std::string>{"suspend", "resume"}));

    effect.dispatch(effSetBypass, 0, 5);
    EXPECT_EQ(effect.int1, 1);
}

TEST_F(Dispatcher, VuIsScaledAndTruncated) {
    effect.vu = 0.5f;
    EXPECT_EQ(effect.dispatch(effGetVu), 16383);
    effect.vu = std::nanf("");
    EXPECT_EQ(effect.dispatch(effGetVu), 0);
    effect.vu = 1e30f;
    EXPECT_EQ(effect.dispatch(effGetVu), 0);
}

// ---- Nothing escapes into the host ------------------------------------------

int destroyed = 0;

class ThrowingEffect : public AudioEffectX {
public:
    ThrowingEffect() : AudioEffectX(fake_host::callback, 1, 1) {}
    ~ThrowingEffect() override { ++destroyed; }
    void close() override { throw std::runtime_error("close"); }
    VstInt32 getProgram() override { throw std::bad_alloc(); }
    void process(float**, float**, VstInt32) override { throw 1; }
    void processReplacing(float**, float**, VstInt32) override { throw 1; }
    void setParameter(VstInt32, float) override { throw 1; }
    float getParameter(VstInt32) override { throw 1; }
};

TEST(RecordEntries, CatchEveryException) {
    destroyed = 0;
    auto* effect = new ThrowingEffect;
    AEffect* e = effect->getAeffect();
    EXPECT_EQ(e->dispatcher(e, effGetProgram, 0, 0, nullptr, 0.0f), 0);
    e->process(e, nullptr, nullptr, 0);
    e->processReplacing(e, nullptr, nullptr, 0);
    e->setParameter(e, 0, 0.5f);
    EXPECT_EQ(e->getParameter(e, 0), 0.0f);

    // Close deletes the effect even when its close operation throws.
    EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(destroyed, 1);
}

TEST(RecordEntries, IgnoreARecordWithoutEffect) {
    AEffect record{};
    EXPECT_EQ(ProbeEffect().getAeffect()->dispatcher(&record, effIdentify, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(ProbeEffect().getAeffect()->dispatcher(nullptr, effIdentify, 0, 0, nullptr, 0.0f), 0);
}

}  // namespace
