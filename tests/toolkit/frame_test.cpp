// What the frame redraws on idle, where clicks go and what reaches the editor.
#include <gtest/gtest.h>

#include <algorithm>

#include "recording_backend.h"

using namespace MX::toolkit;
using MX::toolkit::testing::DrawCall;
using MX::toolkit::testing::ProbeView;
using MX::toolkit::testing::RecordingBackend;

namespace {

class EditorLog : public VSTGUIEditorInterface {
public:
    void beginEdit(std::int32_t index) override { log.push_back("begin " + std::to_string(index)); }
    void endEdit(std::int32_t index) override { log.push_back("end " + std::to_string(index)); }
    std::vector<std::string> log;
};

class FrameTest : public ::testing::Test {
protected:
    FrameTest() : frame(new CFrame(CRect(0, 0, 100, 50), nullptr, &editor, &backend)) {
        left = new ProbeView(CRect(0, 0, 20, 20));
        right = new ProbeView(CRect(50, 0, 70, 20));
        over = new ProbeView(CRect(60, 10, 80, 30));  // overlaps `right`
        for (CView* v : {static_cast<CView*>(left), static_cast<CView*>(right), static_cast<CView*>(over)})
            frame->addView(v);
        frame->idle();  // first paint: everything
        resetCounts();
    }
    ~FrameTest() override {
        if (frame) frame->forget();
    }

    void resetCounts() {
        left->draws = right->draws = over->draws = 0;
        backend.last->draws = 0;
        backend.last->context.calls.clear();
    }
    std::vector<CRect> fills() const {
        std::vector<CRect> out;
        for (const DrawCall& c : backend.last->context.calls)
            if (c.kind == DrawCall::Fill) out.push_back(c.area);
        return out;
    }

    RecordingBackend backend;
    EditorLog editor;
    CFrame* frame;
    ProbeView* left;
    ProbeView* right;
    ProbeView* over;
};

}  // namespace

TEST_F(FrameTest, FirstIdleDrewEverythingAndQuietIdlesDrawNothing) {
    CFrame fresh(CRect(0, 0, 10, 10), nullptr, nullptr);
    EXPECT_TRUE(fresh.isDirty());
    frame->idle();
    EXPECT_EQ(backend.last->draws, 0);
    EXPECT_EQ(left->draws + right->draws + over->draws, 0);
}

TEST_F(FrameTest, IdleRedrawsOnlyMarkedViewsAndWhatOverlapsThem) {
    left->setDirty();
    frame->idle();
    EXPECT_EQ(left->draws, 1);
    EXPECT_EQ(right->draws, 0);
    EXPECT_EQ(over->draws, 0);
    EXPECT_FALSE(left->isDirty());

    resetCounts();
    right->setDirty();
    frame->idle();
    EXPECT_EQ(right->draws, 1);
    EXPECT_EQ(over->draws, 1) << "lies over the redrawn area";
    EXPECT_EQ(left->draws, 0);
    // The background is painted under the area first, clipped to it.
    ASSERT_FALSE(fills().empty());
    EXPECT_EQ(fills().front(), CRect(50, 0, 70, 20));
}

TEST_F(FrameTest, MarkingTheFrameRedrawsEverything) {
    frame->setDirty();
    frame->idle();
    EXPECT_EQ(backend.last->draws, 1);
    EXPECT_EQ(left->draws + right->draws + over->draws, 3);
    EXPECT_EQ(fills().front(), CRect(0, 0, 100, 50));
    resetCounts();
    frame->idle();
    EXPECT_EQ(backend.last->draws, 0);
}

TEST_F(FrameTest, RemovedViewsAreaIsRepaintedFromTheBackground) {
    frame->removeView(left, false);
    frame->idle();
    EXPECT_EQ(left->draws, 0);
    EXPECT_EQ(fills(), std::vector<CRect>{CRect(0, 0, 20, 20)});
    left->forget();
}

TEST_F(FrameTest, BackgroundBitmapIsCopiedUnderTheRedrawnArea) {
    auto* background = new CBitmap(PixelImage{100, 50, std::vector<std::uint32_t>(5000, 0xFF445566)});
    frame->setBackground(background);
    background->forget();
    frame->idle();
    resetCounts();
    left->setDirty();
    frame->idle();
    const auto& calls = backend.last->context.calls;
    ASSERT_FALSE(calls.empty());
    EXPECT_EQ(calls.front().kind, DrawCall::Copy);
    EXPECT_EQ(calls.front().area, CRect(0, 0, 20, 20));
    EXPECT_EQ(calls.front().source, CPoint(0, 0));
}

TEST(Frame, WithoutBackendNothingIsDrawnAndMarksStay) {
    CFrame frame(CRect(0, 0, 10, 10), nullptr, nullptr);
    auto* view = new ProbeView(CRect(0, 0, 5, 5));
    frame.addView(view);
    for (int i = 0; i < 40; ++i) {
        frame.removeView(view, false);
        frame.addView(view);
    }
    frame.idle();
    EXPECT_EQ(view->draws, 0);
    EXPECT_TRUE(view->isDirty());
    EXPECT_EQ(frame.getPlatformFrame(), nullptr);
}

TEST_F(FrameTest, ClicksGoToTheTopmostViewUnderThePoint) {
    CPoint inOverlap(65, 15);
    EXPECT_EQ(frame->onMouseDown(inOverlap, kLButton), kMouseEventHandled);
    EXPECT_EQ(over->clicks.size(), 1u);
    EXPECT_TRUE(right->clicks.empty());
    CPoint nowhere(40, 40);
    EXPECT_EQ(frame->onMouseDown(nowhere, kLButton), kMouseEventNotHandled);
}

// Every begin the editor gets is ended once: by the control, by the control
// going, or by the frame going.
TEST_F(FrameTest, EditsReachTheEditorInPairs) {
    auto* control = new CControl(CRect(0, 30, 10, 40), nullptr, 3);
    control->beginEdit();  // not in a frame: no edit
    frame->addView(control);
    control->beginEdit();
    control->beginEdit();
    control->endEdit();
    control->endEdit();

    auto* dropped = new CControl(CRect(10, 30, 20, 40), nullptr, 4);
    frame->addView(dropped);
    dropped->beginEdit();
    frame->removeView(dropped);  // its last reference

    control->beginEdit();
    control->remember();
    frame->forget();
    frame = nullptr;
    control->endEdit();
    control->forget();
    EXPECT_EQ(editor.log,
              (std::vector<std::string>{"begin 3", "end 3", "begin 4", "end 4", "begin 3", "end 3"}));
}
