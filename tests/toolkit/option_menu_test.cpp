// The option menu's items, its pop-up gesture and what it draws.
#include <gtest/gtest.h>

#include "recording_backend.h"

using namespace MX::toolkit;
using MX::toolkit::testing::DrawCall;
using MX::toolkit::testing::RecordingBackend;
using MX::toolkit::testing::RecordingContext;
using MX::toolkit::testing::RecordingPlatform;

namespace {

// Editor and listener at once, logging in one sequence.
class Recorder : public VSTGUIEditorInterface, public CControlListener {
public:
    void beginEdit(std::int32_t index) override { log.push_back("begin " + std::to_string(index)); }
    void endEdit(std::int32_t index) override { log.push_back("end " + std::to_string(index)); }
    void valueChanged(CControl* control) override {
        auto* menu = static_cast<COptionMenu*>(control);
        log.push_back("changed " + std::to_string(menu->getCurrent()) + " value " +
                      std::to_string(static_cast<int>(menu->getValue())) + (menu->isDirty() ? " dirty" : ""));
        if (onChange) onChange(menu);
    }
    std::vector<std::string> log;
    std::function<void(COptionMenu*)> onChange;
};

class OptionMenuTest : public ::testing::Test {
protected:
    static constexpr std::int32_t kTag = 7;

    OptionMenuTest() : frame(new CFrame(CRect(0, 0, 317, 59), nullptr, &recorder, &backend)) {
        menu = new COptionMenu(CRect(171, 40, 312, 55), &recorder, kTag);
        for (const char* title : {"zero", "one", "two"}) menu->addEntry(title);
        frame->addView(menu);
        menu->setDirty(false);
        backend.last->answer = [this](const PopupMenuRequest&) {
            recorder.log.push_back("pop-up");
            return pick;
        };
    }
    ~OptionMenuTest() override {
        if (frame) frame->forget();
    }

    CMouseEventResult click(CButtonState buttons) {
        CPoint where(180, 45);
        return frame->onMouseDown(where, buttons);
    }

    Recorder recorder;
    RecordingBackend backend;
    CFrame* frame;
    COptionMenu* menu;
    int pick = -1;
};

}  // namespace

TEST_F(OptionMenuTest, ItemsAndCurrentIndex) {
    EXPECT_EQ(menu->getCurrent(), -1);
    EXPECT_EQ(menu->getNbEntries(), 3);
    EXPECT_STREQ(menu->getEntry(1)->getTitle(), "one");
    EXPECT_EQ(menu->getEntry(3), nullptr);
    EXPECT_EQ(menu->getEntry(-1), nullptr);
    menu->addEntry("first", 0);
    EXPECT_STREQ(menu->getEntry(0)->getTitle(), "first");
    menu->getEntry(0)->setTitle("renamed");
    EXPECT_STREQ(menu->getEntry(0)->getTitle(), "renamed");

    EXPECT_TRUE(menu->setCurrent(2));
    EXPECT_EQ(menu->getCurrent(), 2);
    EXPECT_TRUE(menu->isDirty());
    EXPECT_FALSE(menu->setCurrent(4));
    EXPECT_FALSE(menu->setCurrent(-1));
    EXPECT_EQ(menu->getCurrent(), 2);
}

TEST_F(OptionMenuTest, PickingAnItemReportsBetweenBeginAndEndEdit) {
    pick = 2;
    EXPECT_EQ(click(kLButton), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(recorder.log,
              (std::vector<std::string>{"begin 7", "pop-up", "changed 2 value 2 dirty", "end 7"}));
    EXPECT_EQ(menu->getCurrent(), 2);
    EXPECT_FLOAT_EQ(menu->getValue(), 2.0f);

    const PopupMenuRequest& request = backend.last->requests.at(0);
    ASSERT_EQ(request.titles.size(), 3u);
    EXPECT_EQ(request.titles[0], "zero");
    EXPECT_EQ(request.checkedIndex, -1) << "style 0 shows no check marks";
    EXPECT_EQ(request.anchor, CRect(171, 40, 312, 55));
}

TEST_F(OptionMenuTest, DismissingEndsTheEditWithoutAChange) {
    menu->setCurrent(1);
    menu->setDirty(false);
    EXPECT_EQ(click(kRButton), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"begin 7", "pop-up", "end 7"}));
    EXPECT_EQ(menu->getCurrent(), 1);
    EXPECT_FALSE(menu->isDirty());
}

TEST_F(OptionMenuTest, AnswersOutsideTheItemsCountAsDismissed) {
    pick = 3;
    click(kLButton);
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"begin 7", "pop-up", "end 7"}));
    EXPECT_EQ(menu->getCurrent(), -1);
}

TEST_F(OptionMenuTest, MiddleButtonDoesNothing) {
    EXPECT_EQ(click(kMButton), kMouseEventNotHandled);
    EXPECT_TRUE(recorder.log.empty());
}

TEST_F(OptionMenuTest, CheckStyleMarksTheCurrentItem) {
    menu->setStyle(kCheckStyle);
    menu->setCurrent(1);
    click(kLButton);
    EXPECT_EQ(backend.last->requests.at(0).checkedIndex, 1);
}

TEST_F(OptionMenuTest, ListenerMayDropTheMenuDuringItsChange) {
    pick = 0;
    recorder.onChange = [this](COptionMenu* m) { frame->removeView(m, true); };
    click(kLButton);
    EXPECT_EQ(frame->getNbViews(), 0);
    // The edit ends at the frame where it began.
    EXPECT_EQ(recorder.log,
              (std::vector<std::string>{"begin 7", "pop-up", "changed 0 value 0 dirty", "end 7"}));
}

// A list that stays open across idle calls: the menu may leave the frame, or
// the frame go, before the user answers; the edit still ends exactly once.
TEST_F(OptionMenuTest, AnEditOpenAcrossCallsEndsOnceWhateverHappensMeanwhile) {
    pick = RecordingPlatform::kKeepOpen;
    click(kLButton);
    click(kLButton);
    EXPECT_TRUE(menu->isPopupOpen());
    EXPECT_EQ(backend.last->requests.size(), 1u) << "one list at a time";
    menu->remember();
    frame->removeView(menu);
    backend.last->closePopup(2);
    EXPECT_EQ(recorder.log,
              (std::vector<std::string>{"begin 7", "pop-up", "changed 2 value 2 dirty", "end 7"}));
    EXPECT_FALSE(menu->isEditing());

    recorder.log.clear();
    menu->remember();
    frame->addView(menu);
    click(kRButton);
    frame->forget();  // the window closes with the list open
    frame = nullptr;
    EXPECT_EQ(recorder.log, (std::vector<std::string>{"begin 7", "pop-up", "end 7"}));
    EXPECT_FALSE(menu->isPopupOpen());
    menu->forget();
}

TEST(OptionMenu, DrawsTheCurrentTitleOverItsBackground) {
    COptionMenu menu(CRect(10, 10, 60, 25), nullptr, 0);
    menu.addEntry("alpha");
    menu.setBackColor(MakeCColor(60, 65, 68));
    RecordingContext context(CRect(0, 0, 100, 50));

    menu.draw(&context);
    ASSERT_EQ(context.calls.size(), 1u) << "background only without a current item";
    EXPECT_EQ(context.calls[0].kind, DrawCall::Fill);
    EXPECT_EQ(context.calls[0].colour, MakeCColor(60, 65, 68));

    context.calls.clear();
    menu.setCurrent(0);
    menu.setStyle(kShadowText);
    menu.draw(&context);
    EXPECT_FALSE(menu.isDirty());
    ASSERT_EQ(context.calls.size(), 3u);
    EXPECT_EQ(context.calls[1].text, "alpha");
    EXPECT_EQ(context.calls[1].area, CRect(11, 11, 61, 26)) << "shadow one pixel right and down";
    EXPECT_EQ(context.calls[1].clip, CRect(11, 11, 60, 25)) << "clipped to the menu";
    EXPECT_EQ(context.calls[2].colour, kWhiteCColor);
    EXPECT_EQ(context.calls[2].area, CRect(10, 10, 60, 25));
    CRect clip;
    EXPECT_EQ(context.getClipRect(clip), CRect(0, 0, 100, 50)) << "clip restored";
}
