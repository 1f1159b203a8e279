// Which strip rows the picture-strip view copies, and its click toggle.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "recording_backend.h"

using namespace MX::toolkit;
using MX::toolkit::testing::DrawCall;
using MX::toolkit::testing::RecordingContext;

namespace {

class Listener : public CControlListener {
public:
    void valueChanged(CControl* control) override { changed.push_back(control); }
    std::vector<CControl*> changed;
};

class AutoAnimationTest : public ::testing::Test {
protected:
    AutoAnimationTest()
        : strip(new CBitmap(PixelImage{7, 21, std::vector<std::uint32_t>(7 * 21, 0xFF000000)})),
          light(new CAutoAnimation(CRect(303, 6, 310, 13), &listener, 0, 3, 7, strip, CPoint(0, 0))),
          context(CRect(0, 0, 317, 59)) {
        strip->forget();
    }
    ~AutoAnimationTest() override { light->forget(); }

    // Source rows copied by one draw, or -1 when nothing was copied.
    int drawnRow(float value) {
        context.calls.clear();
        light->setValue(value);
        light->setDirty();
        light->draw(&context);
        EXPECT_FALSE(light->isDirty());
        if (context.calls.empty()) return -1;
        EXPECT_EQ(context.calls.size(), 1u);
        return context.calls[0].source.y;
    }

    Listener listener;
    CBitmap* strip;
    CAutoAnimation* light;
    RecordingContext context;
};

}  // namespace

TEST_F(AutoAnimationTest, DrawsNothingUntilOpened) {
    EXPECT_FALSE(light->isWindowOpened());
    EXPECT_EQ(drawnRow(7.01f), -1);
    light->openWindow();
    EXPECT_EQ(light->getValue(), 7.01f) << "opening keeps the value";
    EXPECT_EQ(drawnRow(7.01f), 7);
}

TEST_F(AutoAnimationTest, ValueIsTheFirstSourceRowTruncatedTowardZero) {
    light->openWindow();
    EXPECT_EQ(drawnRow(0.01f), 0);
    EXPECT_EQ(drawnRow(14.99f), 14);
    EXPECT_EQ(drawnRow(-0.5f), 0);
    EXPECT_EQ(drawnRow(7.01f), 7);
    const DrawCall& call = context.calls.at(0);
    EXPECT_EQ(call.area, CRect(303, 6, 310, 13)) << "the whole view";
    EXPECT_EQ(call.bitmap, strip);
    EXPECT_EQ(light->getValue(), 7.01f) << "stored unchanged";
}

TEST_F(AutoAnimationTest, RowsOutsideTheStripDrawOnlyWhatExists) {
    light->openWindow();
    EXPECT_EQ(drawnRow(17.0f), 17);
    EXPECT_EQ(context.calls.at(0).area, CRect(303, 6, 310, 10)) << "rows 17 to 20 only";
    EXPECT_EQ(drawnRow(-3.5f), 0);
    EXPECT_EQ(context.calls.at(0).area, CRect(303, 9, 310, 13));
    EXPECT_EQ(drawnRow(21.0f), -1);
    EXPECT_EQ(drawnRow(1e30f), -1);
    EXPECT_EQ(drawnRow(-1e30f), -1);
    EXPECT_EQ(drawnRow(std::numeric_limits<float>::quiet_NaN()), 0);
}

TEST_F(AutoAnimationTest, LeftClickTogglesTheWindowAndReportsValueZero) {
    light->openWindow();
    light->setValue(14.01f);
    CPoint where(305, 8);
    EXPECT_EQ(light->onMouseDown(where, kLButton), kMouseDownEventHandledButDontNeedMovedOrUpEvents);
    EXPECT_FALSE(light->isWindowOpened());
    EXPECT_EQ(light->getValue(), 0.0f);
    EXPECT_TRUE(light->isDirty());
    EXPECT_EQ(listener.changed, std::vector<CControl*>{light});
    EXPECT_EQ(drawnRow(14.01f), -1) << "blank while closed";

    light->onMouseDown(where, kLButton);
    EXPECT_TRUE(light->isWindowOpened());
    EXPECT_EQ(listener.changed.size(), 2u);

    EXPECT_EQ(light->onMouseDown(where, kRButton), kMouseEventNotHandled);
    EXPECT_TRUE(light->isWindowOpened());
    EXPECT_EQ(listener.changed.size(), 2u);
}
