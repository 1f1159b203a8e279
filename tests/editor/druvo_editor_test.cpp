// The editor window: views and their order, the link-state sub-states, the
// refresh on idle (bus list, current item, indicators, redraw of what
// changed) and a pick in the bus menu as the host sees it.
#include <functional>
#include <string>

#include "tests/editor/editor_fixture.h"

namespace editor_test {
namespace {

using MX::toolkit::CRect;
using MX::toolkit::testing::DrawCall;
using MX::toolkit::testing::RecordingPlatform;

using DruvoEditorTest = EditorTest;

RecordingPlatform& platformOf(MX::toolkit::CFrame& frame) {
    return *static_cast<RecordingPlatform*>(frame.getPlatformFrame());
}

// The host's edit calls since the last clear: "begin", "automate <value>", "end".
std::vector<std::string> editCalls() {
    std::vector<std::string> edits;
    for (const fake_host::Call& call : fake_host::calls) {
        if (call.opcode == audioMasterBeginEdit) edits.push_back("begin");
        if (call.opcode == audioMasterAutomate) edits.push_back("automate " + std::to_string(call.opt));
        if (call.opcode == audioMasterEndEdit) edits.push_back("end");
    }
    return edits;
}

TEST_F(DruvoEditorTest, OpensOnTheBackgroundWithOnlyTheChannelDisplayAtStateZero) {
    MX::Druvo& effect = makeEffect();
    effect.setParameter(0, 3 * 0.0625f);
    open(effect);
    MX::DruvoEditor& editor = editorOf(effect);
    MX::toolkit::CFrame& frame = frameOf(effect);

    EXPECT_EQ(frame.getViewSize(), CRect(0, 0, 317, 59));
    ASSERT_NE(frame.getBackground(), nullptr);
    EXPECT_EQ(frame.getBackground()->getResourceId(), 101);
    ASSERT_EQ(frame.getNbViews(), 1);
    EXPECT_EQ(frame.getView(0), editor.channelDisplay());
    EXPECT_FALSE(editor.busMenu()->isAttached());

    // Views are built whatever the state, with their values at open.
    EXPECT_EQ(editor.channelDisplay()->getValue(), 0.01f);
    EXPECT_EQ(editor.connectionLight()->getValue(), 14.01f);
    EXPECT_EQ(editor.selectionPanel()->getValue(), 0.0f);
    EXPECT_EQ(editor.busMenu()->getNbEntries(), 17);
    EXPECT_EQ(editor.busMenu()->getCurrent(), 3);
    EXPECT_STREQ(editor.busMenu()->getEntry(16)->getTitle(), "16: Output Bus 16 (2.0)");

    dispatch(effect, effEditClose);
    EXPECT_EQ(editor.getCFrame(), nullptr);
    EXPECT_EQ(editor.busMenu(), nullptr);
}

TEST_F(DruvoEditorTest, LinkedWindowStacksPanelMenuAndLightOverTheChannelDisplay) {
    MX::Druvo& effect = effectInState(State::kAllChannels);
    open(effect);
    MX::DruvoEditor& editor = editorOf(effect);
    MX::toolkit::CFrame& frame = frameOf(effect);

    ASSERT_EQ(frame.getNbViews(), 4);
    EXPECT_EQ(frame.getView(0), editor.channelDisplay());
    EXPECT_EQ(frame.getView(1), editor.selectionPanel());
    EXPECT_EQ(frame.getView(2), editor.busMenu());
    EXPECT_EQ(frame.getView(3), editor.connectionLight());

    EXPECT_EQ(editor.busMenu()->getTag(), 0);
    EXPECT_EQ(editor.busMenu()->getListener(), &editor);
}

TEST_F(DruvoEditorTest, ViewsComeAndGoWhenTheStateCrossesZero) {
    MX::Druvo& effect = makeEffect();
    open(effect);
    MX::DruvoEditor& editor = editorOf(effect);
    MX::toolkit::CFrame& frame = frameOf(effect);
    idle(effect);
    MX::DruvoMenu* menu = editor.busMenu();

    driveTo(effect, State::kSomeChannels);
    idle(effect);
    EXPECT_EQ(frame.getNbViews(), 4);
    EXPECT_TRUE(menu->isAttached());
    const std::vector<DrawCall>& calls = platformOf(frame).context.calls;
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().bitmap, frame.getBackground()) << "whole window repainted from the background";
    EXPECT_EQ(calls.front().area, CRect(0, 0, 317, 59));

    driveTo(effect, State::kNotDelivering);
    idle(effect);
    EXPECT_EQ(frame.getNbViews(), 4) << "1 to 3 keep the views";

    platformOf(frame).context.calls.clear();
    driveTo(effect, State::kNoRecord);
    idle(effect);
    ASSERT_EQ(frame.getNbViews(), 1);
    EXPECT_EQ(editor.busMenu(), menu) << "detached views stay alive";
    EXPECT_EQ(menu->getNbReference(), 1);
    EXPECT_EQ(calls.front().area, CRect(0, 0, 317, 59));
}

TEST_F(DruvoEditorTest, ReopeningAfterACloseAtStateZeroBuildsFreshViews) {
    MX::Druvo& effect = makeEffect();
    driveTo(effect, State::kNotDelivering);
    open(effect);
    clockNow = 100;
    idle(effect);
    driveTo(effect, State::kNoRecord);
    idle(effect);
    MX::DruvoEditor& editor = editorOf(effect);
    EXPECT_NE(editor.channelDisplay()->getValue(), 0.01f);
    dispatch(effect, effEditClose);

    open(effect);
    EXPECT_EQ(editor.channelDisplay()->getValue(), 0.01f);
    EXPECT_EQ(editor.connectionLight()->getValue(), 14.01f);
    EXPECT_EQ(frameOf(effect).getNbViews(), 1);
}

TEST_F(DruvoEditorTest, IdleRedrawsOnlyWhatChanged) {
    MX::Druvo& effect = effectInState(State::kNotDelivering);
    clockNow = 100;
    open(effect);
    MX::toolkit::CFrame& frame = frameOf(effect);
    RecordingPlatform& platform = platformOf(frame);
    idle(effect);
    const int settled = platform.draws;
    EXPECT_GE(settled, 1);

    for (int i = 0; i < 3; ++i) idle(effect);
    EXPECT_EQ(platform.draws, settled) << "nothing changed, nothing drawn";

    clockNow = 600;  // the blinking light goes dark
    platform.context.calls.clear();
    idle(effect);
    EXPECT_EQ(platform.draws, settled + 1);
    const CRect light = editorOf(effect).connectionLight()->getViewSize();
    for (const DrawCall& call : platform.context.calls) {
        EXPECT_TRUE(CRect(call.area).bound(light) == call.area) << "drawing outside the light";
    }
    idle(effect);
    EXPECT_EQ(platform.draws, settled + 1);
}

TEST_F(DruvoEditorTest, BusListFollowsTheSiblingDirectory) {
    MX::Druvo& effect = makeEffect();
    connectSibling();
    open(effect);
    MX::DruvoMenu& menu = *editorOf(effect).busMenu();

    setDirectory({{"Main", 2}, {"Drums", 6}, {"FX", 1}});
    idle(effect);
    EXPECT_STREQ(menu.getEntry(2)->getTitle(), "02: Drums (5.1)");
    EXPECT_TRUE(MX::link::directoriesEqual(effect.outputBusTable(), directory));

    // Same names, counts and channel counts: no refill, even with other index fields.
    menu.getEntry(1)->setTitle("left alone");
    for (auto& entry : directory.entries) entry.index += 40;
    idle(effect);
    EXPECT_STREQ(menu.getEntry(1)->getTitle(), "left alone");

    directory.entries[0].channelCount = 1;
    idle(effect);
    EXPECT_STREQ(menu.getEntry(1)->getTitle(), "01: Main (1.0)");
}

TEST_F(DruvoEditorTest, RefillThatShrinksUnderTheCurrentItemKeepsIt) {
    MX::Druvo& effect = makeEffect();
    connectSibling();
    effect.setParameter(0, 5 * 0.0625f);
    open(effect);
    MX::DruvoMenu& menu = *editorOf(effect).busMenu();
    EXPECT_EQ(menu.itemPicture(5), 2);

    setDirectory({{"Main", 2}, {"Drums", 6}, {"FX", 1}});
    idle(effect);
    EXPECT_EQ(menu.getCurrent(), 5);
    EXPECT_STREQ(menu.getEntry(5)->getTitle(), " <Not Connected>");
    EXPECT_EQ(menu.itemPicture(5), 0);
    EXPECT_EQ(menu.getNbEntries(), 17);
}

TEST_F(DruvoEditorTest, HostChangesToTheSelectionShowAtTheNextIdle) {
    MX::Druvo& effect = effectInState(State::kAllChannels);
    open(effect);
    MX::DruvoMenu& menu = *editorOf(effect).busMenu();
    idle(effect);
    EXPECT_EQ(menu.getCurrent(), 1);

    effect.getAeffect()->setParameter(effect.getAeffect(), 0, 9 * 0.0625f);
    EXPECT_EQ(menu.getCurrent(), 1) << "not before the idle";
    idle(effect);
    EXPECT_EQ(menu.getCurrent(), 9);

    dispatch(effect, effSetProgram, 0, 14);
    idle(effect);
    EXPECT_EQ(menu.getCurrent(), 14);
}

TEST_F(DruvoEditorTest, PickSetsTheParameterBetweenBeginAndEndEdit) {
    MX::Druvo& effect = effectInState(State::kAllChannels);
    open(effect);
    MX::toolkit::CFrame& frame = frameOf(effect);
    std::vector<int> offered;
    platformOf(frame).answer = [&](const MX::toolkit::PopupMenuRequest& request) {
        offered.push_back(static_cast<int>(request.titles.size()));
        EXPECT_EQ(request.checkedIndex, -1);
        return 5;
    };
    fake_host::calls.clear();
    MX::toolkit::CPoint where(200, 47);
    frame.onMouseDown(where, MX::toolkit::kLButton);

    ASSERT_EQ(fake_host::calls.size(), 3u);
    EXPECT_EQ(fake_host::calls[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(fake_host::calls[1].opcode, audioMasterAutomate);
    EXPECT_EQ(fake_host::calls[1].opt, 0.3125f);
    EXPECT_EQ(fake_host::calls[2].opcode, audioMasterEndEdit);
    for (const fake_host::Call& call : fake_host::calls) EXPECT_EQ(call.index, 0);
    EXPECT_EQ(offered, std::vector<int>{17});
    EXPECT_EQ(effect.busSelection(), 5);

    platformOf(frame).answer = [](const MX::toolkit::PopupMenuRequest&) { return 16; };
    frame.onMouseDown(where, MX::toolkit::kRButton);
    EXPECT_EQ(fake_host::calls[4].opt, 1.0f);
    platformOf(frame).answer = [](const MX::toolkit::PopupMenuRequest&) { return 0; };
    frame.onMouseDown(where, MX::toolkit::kLButton);
    EXPECT_EQ(fake_host::calls[7].opt, 0.0f);
    EXPECT_EQ(effect.busSelection(), 0);
}

TEST_F(DruvoEditorTest, DismissedPopupReportsOnlyTheEdit) {
    MX::Druvo& effect = effectInState(State::kAllChannels);
    open(effect);
    fake_host::calls.clear();
    MX::toolkit::CPoint where(200, 47);
    frameOf(effect).onMouseDown(where, MX::toolkit::kLButton);

    ASSERT_EQ(fake_host::calls.size(), 2u);
    EXPECT_EQ(fake_host::calls[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(fake_host::calls[1].opcode, audioMasterEndEdit);
    EXPECT_EQ(effect.busSelection(), 1);
}

// Hosts idle the editor from timers that also run inside a system menu's own
// loop, and the X11 list stays open across idle calls: the menu may be
// detached, or the window closed, while the list is open. The host still gets
// one endEdit for its beginEdit.
TEST_F(DruvoEditorTest, EditEndsWhenTheMenuGoesWhileItsListIsOpen) {
    MX::Druvo& effect = effectInState(State::kAllChannels);
    open(effect);
    MX::DruvoEditor& editor = editorOf(effect);
    const auto playBus = [&](int bus) {  // bus 1 delivers (state 3); bus 3 has no record (state 0)
        effect.setParameter(0, static_cast<float>(bus) * 0.0625f);
        runBlock(effect);
        idle(effect);
    };
    const auto click = [&](std::function<int()> answer) {
        playBus(1);
        ASSERT_TRUE(editor.busMenu()->isAttached());
        platformOf(frameOf(effect)).answer = [answer](const MX::toolkit::PopupMenuRequest&) {
            return answer();
        };
        fake_host::calls.clear();
        MX::toolkit::CPoint where(200, 47);
        frameOf(effect).onMouseDown(where, MX::toolkit::kLButton);
    };

    click([&] {  // state 0 seen by an idle inside the menu's own loop, then a pick
        playBus(3);
        EXPECT_FALSE(editor.busMenu()->isAttached());
        return 4;
    });
    EXPECT_EQ(editCalls(), (std::vector<std::string>{"begin", "automate 0.250000", "end"}));

    click([] { return RecordingPlatform::kKeepOpen; });
    playBus(3);
    platformOf(frameOf(effect)).closePopup(-1);
    EXPECT_EQ(editCalls(), (std::vector<std::string>{"begin", "end"}));

    click([] { return RecordingPlatform::kKeepOpen; });
    dispatch(effect, effEditClose);
    EXPECT_EQ(editCalls(), (std::vector<std::string>{"begin", "end"}));
}

TEST_F(DruvoEditorTest, OpenTwiceOrEffectGoneWithTheWindowOpenLeavesNothingBehind) {
    MX::Druvo& effect = effectInState(State::kNoRecord);
    open(effect);
    open(effect);
    EXPECT_EQ(frameOf(effect).getNbViews(), 1);
    driveTo(effect, State::kAllChannels);
    idle(effect);
    EXPECT_EQ(frameOf(effect).getNbViews(), 4);

    auto* owner = new MX::Druvo(fake_host::callback, MX::createDruvoEditor);
    driveTo(*owner, State::kNotDelivering);
    open(*owner);
    platformOf(frameOf(*owner)).answer = [](const MX::toolkit::PopupMenuRequest&) {
        return RecordingPlatform::kKeepOpen;
    };
    MX::toolkit::CPoint where(200, 47);
    frameOf(*owner).onMouseDown(where, MX::toolkit::kLButton);
    fake_host::calls.clear();
    dispatch(*owner, effClose);  // deletes the effect, its editor and the open window with its list
    EXPECT_EQ(editCalls(), std::vector<std::string>{"end"});
}

}  // namespace
}  // namespace editor_test
