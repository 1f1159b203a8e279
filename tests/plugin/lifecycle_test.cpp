// Building and tearing down effects: the entry point's work, instance numbers,
// the instrument link over the process's life, and the editor that comes with
// every effect.
#include "link/sibling_module.h"
#include "tests/plugin/druvo_fixture.h"

namespace {

using Lifecycle = DruvoTest;

AEffect* create() { return MX::createDruvo(fake_host::callback); }

void close(AEffect* e) { EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1); }

MX::Druvo& effectOf(AEffect* e) { return *static_cast<MX::Druvo*>(e->object); }

TEST_F(Lifecycle, InstanceNumbersFollowTheCounter) {
    ASSERT_EQ(MX::Druvo::instanceCount(), 0);
    AEffect* first = create();
    AEffect* second = create();
    EXPECT_EQ(effectOf(first).instanceNumber(), 1);
    EXPECT_EQ(effectOf(second).instanceNumber(), 2);
    EXPECT_EQ(MX::Druvo::instanceCount(), 2);

    // Numbers are reused: with 1 closed, the next effect is number 2 again.
    close(first);
    AEffect* third = create();
    EXPECT_EQ(effectOf(third).instanceNumber(), 2);
    close(second);
    close(third);
    EXPECT_EQ(MX::Druvo::instanceCount(), 0);
}

TEST_F(Lifecycle, HostThatAnswersNoVersionGetsNothing) {
    fake_host::versionAnswer = 0;
    EXPECT_EQ(create(), nullptr);
    EXPECT_EQ(MX::Druvo::instanceCount(), 0);
    EXPECT_TRUE(fake_host::boxes.empty());
    ASSERT_EQ(fake_host::calls.size(), 1u);
    EXPECT_EQ(fake_host::calls[0].opcode, audioMasterVersion);

    EXPECT_EQ(MX::createDruvo(nullptr), nullptr);
    EXPECT_EQ(MX::Druvo::instanceCount(), 0);
}

TEST_F(Lifecycle, RecordAndEditorOfANewEffect) {
    AEffect* e = create();
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->flags, 0x1D);
    EXPECT_EQ(e->uniqueID, 0x56535462);
    EXPECT_EQ(e->numPrograms, 17);
    EXPECT_EQ(e->numParams, 1);
    EXPECT_EQ(e->numInputs, 6);
    EXPECT_EQ(e->numOutputs, 6);
    EXPECT_EQ(effectOf(e).connectionState(), 0);
    EXPECT_EQ(effectOf(e).busSelection(), 0);
    EXPECT_FALSE(effectOf(e).directoryChanged());
    EXPECT_EQ(effectOf(e).outputBusTable().count, 16);
    EXPECT_STREQ(effectOf(e).outputBusTable().entries[15].name, "Output Bus 16");

    ERect* rect = nullptr;
    EXPECT_EQ(e->dispatcher(e, effEditGetRect, 0, 0, &rect, 0.0f), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 59);
    EXPECT_EQ(rect->right, 317);
    EXPECT_EQ(e->dispatcher(e, effEditIdle, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(e->dispatcher(e, effSetEditKnobMode, 0, 0, nullptr, 0.0f), 1);
    close(e);
}

TEST_F(Lifecycle, TheInstrumentStaysLinkedWhileAnyEffectLives) {
    fake_sibling::install();
    AEffect* first = create();
    AEffect* second = create();
    close(first);
    EXPECT_TRUE(MX::link::siblingLoaded());
    close(second);
    EXPECT_FALSE(MX::link::siblingLoaded());
}

TEST_F(Lifecycle, DestructionReleasesOnlyARecordStillOurs) {
    fake_sibling::install();
    MoltraxBusRecord& ours = offerBus(1);
    MoltraxBusRecord& disabled = offerBus(2);
    MoltraxBusRecord& takenOver = offerBus(3);
    AEffect* effects[3];
    for (int bus = 1; bus <= 3; ++bus) {
        effects[bus - 1] = create();
        effectOf(effects[bus - 1]).setProgram(bus);
        runBlock(effectOf(effects[bus - 1]));
        ASSERT_EQ(effectOf(effects[bus - 1]).claimedRecord(), fake_sibling::records[bus - 1]);
    }
    disabled.enabled = 0;
    takenOver.owner = 77;

    // The last one closed unlinks the instrument; close it while the others
    // still keep it linked so its release is seen.
    close(effects[2]);
    close(effects[1]);
    close(effects[0]);
    EXPECT_EQ(ours.refCount, 0);
    EXPECT_EQ(ours.owner, 0);
    EXPECT_EQ(disabled.refCount, 1);
    EXPECT_EQ(disabled.owner, 2);
    EXPECT_EQ(takenOver.refCount, 1);
    EXPECT_EQ(takenOver.owner, 77);
}

TEST_F(Lifecycle, ProcessEntriesShareOnePath) {
    fake_sibling::install();
    MoltraxBusRecord& bus4 = offerBus(4);
    AEffect* e = create();
    effectOf(e).setProgram(4);
    float in[64], out[64];
    for (int i = 0; i < 64; ++i) in[i] = static_cast<float>(i);
    float* inputs[6] = {in, in, in, in, in, in};
    float* outputs[6] = {out, out, out, out, out, out};
    e->process(e, inputs, outputs, 64);  // the accumulating entry replaces too
    EXPECT_EQ(out[10], 10.0f);
    EXPECT_EQ(effectOf(e).claimedRecord(), &bus4);
    EXPECT_EQ(effectOf(e).connectionState(), 3);
    close(e);
}

}  // namespace
