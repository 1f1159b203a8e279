// The editor base: rectangle, frame idle, keys, knob mode, edit gestures and
// the modal idle work, seen from the host callback.
#include <gtest/gtest.h>

#include <cmath>

#include "plugin/sdk/aeffguieditor.h"
#include "tests/plugin/probe_effect.h"

namespace {

class FakeFrame : public MX::toolkit::EditorFrame {
public:
    int idles = 0;
    void idle() override { ++idles; }
};

int editorsDestroyed = 0;

class TestEditor : public AEffGUIEditor {
public:
    explicit TestEditor(AudioEffect* effect) : AEffGUIEditor(effect) { rect = {1, 2, 3, 4}; }
    ~TestEditor() override { ++editorsDestroyed; }
    void attach(MX::toolkit::EditorFrame* newFrame) { frame = newFrame; }
    // Keys as the dispatcher decodes them.
    bool keyAnswer = true;
    VstKeyCode lastKey{};
    bool onKeyDown(VstKeyCode& key) override { return record(key); }
    bool onKeyUp(VstKeyCode& key) override { return record(key); }

private:
    bool record(const VstKeyCode& key) {
        lastKey = key;
        return keyAnswer;
    }
};

class EditorBase : public ::testing::Test {
protected:
    void SetUp() override { fake_host::reset(); }
    ProbeEffect effect;
    TestEditor* editor = new TestEditor(&effect);  // owned by the effect
    FakeFrame frame;
};

TEST_F(EditorBase, RegistersWithTheEffectWhichOwnsIt) {
    EXPECT_EQ(effect.getEditor(), editor);
    EXPECT_TRUE(effect.getAeffect()->flags & effFlagsHasEditor);

    editorsDestroyed = 0;
    {
        auto* owner = new ProbeEffect;
        new TestEditor(owner);
        delete owner;
    }
    EXPECT_EQ(editorsDestroyed, 1);
}

TEST_F(EditorBase, HandsOutItsRectangle) {
    ERect* rect = nullptr;
    EXPECT_EQ(effect.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 1);
    EXPECT_EQ(rect->right, 4);
    EXPECT_EQ(effect.dispatch(effEditGetRect, 0, 0, nullptr), 0);
}

TEST_F(EditorBase, IdleNeedsAFrame) {
    EXPECT_EQ(effect.dispatch(effEditIdle), 0);
    editor->attach(&frame);
    effect.dispatch(effEditIdle);
    EXPECT_EQ(frame.idles, 1);
    editor->attach(nullptr);
}

TEST_F(EditorBase, KeysReachTheEditorDecoded) {
    EXPECT_EQ(effect.dispatch(effEditKeyDown, 65, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(editor->lastKey.character, 65);
    EXPECT_EQ(editor->lastKey.virt, 0);
    EXPECT_EQ(editor->lastKey.modifier, 0);

    // Virtual key from the value's lowest byte, modifiers from the truncated float.
    EXPECT_EQ(effect.dispatch(effEditKeyUp, 7, 0x1234, nullptr, 3.7f), 1);
    EXPECT_EQ(editor->lastKey.character, 7);
    EXPECT_EQ(editor->lastKey.virt, 0x34);
    EXPECT_EQ(editor->lastKey.modifier, 3);
    effect.dispatch(effEditKeyUp, 7, 0, nullptr, std::nanf(""));
    EXPECT_EQ(editor->lastKey.modifier, 0);

    editor->keyAnswer = false;
    EXPECT_EQ(effect.dispatch(effEditKeyDown, 65), 0);
}

TEST_F(EditorBase, KnobModeIsSharedByEveryEditor) {
    ProbeEffect other;
    auto* otherEditor = new TestEditor(&other);
    EXPECT_EQ(effect.dispatch(effSetEditKnobMode, 0, 2), 1);
    EXPECT_EQ(otherEditor->getKnobMode(), 2);
    editor->setKnobMode(0);
}

TEST_F(EditorBase, EditGesturesReachTheHost) {
    editor->beginEdit(0);
    editor->endEdit(0);
    ASSERT_EQ(fake_host::calls.size(), 2u);
    EXPECT_EQ(fake_host::calls[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(fake_host::calls[1].opcode, audioMasterEndEdit);
    EXPECT_EQ(fake_host::calls[0].effect, effect.getAeffect());
    EXPECT_EQ(fake_host::calls[1].index, 0);

    fake_host::editAnswer = 0;
    EXPECT_FALSE(effect.beginEdit(3));
    EXPECT_EQ(fake_host::calls.back().index, 3);
}

TEST_F(EditorBase, ModalIdleHandsTimeToTheHostAtMostEvery100Ms) {
    editor->attach(&frame);
    // A host that idles its editors from inside audioMasterIdle: the frame gets
    // no second idle from that nested call.
    static ProbeEffect* nested;
    nested = &effect;
    fake_host::onIdle = [] { nested->dispatch(effEditIdle); };

    editor->doIdleStuff();
    EXPECT_EQ(fake_host::count(audioMasterIdle), 1);
    EXPECT_EQ(frame.idles, 1);

    // Right away again: the next idle time is about 100 ms ahead, so nothing runs.
    editor->doIdleStuff();
    EXPECT_EQ(fake_host::count(audioMasterIdle), 1);
    EXPECT_EQ(frame.idles, 1);

    effect.dispatch(effEditIdle);
    EXPECT_EQ(frame.idles, 2);
    editor->attach(nullptr);
}

TEST(HostServices, AutomationSetsTheParameterThenReportsIt) {
    fake_host::reset();
    ProbeEffect effect;
    effect.setParameterAutomated(0, 0.1875f);
    EXPECT_EQ(effect.only(), "setParameter");
    EXPECT_EQ(effect.real, 0.1875f);
    ASSERT_EQ(fake_host::calls.size(), 1u);
    const fake_host::Call& call = fake_host::calls[0];
    EXPECT_EQ(call.effect, effect.getAeffect());
    EXPECT_EQ(call.opcode, audioMasterAutomate);
    EXPECT_EQ(call.index, 0);
    EXPECT_EQ(call.value, 0);
    EXPECT_EQ(call.ptr, nullptr);
    EXPECT_EQ(call.opt, 0.1875f);
}

TEST(HostServices, NullCallbackSkipsEveryService) {
    ProbeEffect effect(nullptr);
    auto* editor = new TestEditor(&effect);
    effect.setParameterAutomated(0, 0.5f);
    EXPECT_EQ(effect.only(), "setParameter");
    EXPECT_FALSE(effect.beginEdit(0));
    EXPECT_FALSE(effect.endEdit(0));
    effect.masterIdle();
    editor->doIdleStuff();
    EXPECT_EQ(AudioEffect::hostVersion(nullptr), 0);
}

}  // namespace
