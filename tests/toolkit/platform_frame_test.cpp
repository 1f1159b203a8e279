// The window system backends (X11 natively, Win32 under wine) in a real
// window system, where the recording backend does not reach: drawing on idle
// and repaint of damaged areas, the pop-up's place and keys, bad or vanished
// host windows, and a host closing the frame from the pick it handles.
#include "tests/toolkit/native_frame_fixture.h"

using namespace MX::toolkit;
using namespace window_test;

namespace {
const std::vector<std::string> kPickedTwo{"begin 0", "value 2", "end 0"};
}

TEST_F(NativeFrameTest, IdleDrawsChangedViewsAndDamagedAreasArePaintedAgain) {
    openFrame();
    expectBitmapPixels(kLightRect, 110, CPoint(0, 7));  // red
    light->setValue(0.01f);
    light->setDirty();
    expectBitmapPixels(kLightRect, 110, CPoint(0, 0));  // green
    desktop.damage(window, CRect(280, 0, 317, 20));
    ASSERT_NE(desktop.pixel(window, 306, 9), MakeCColor(0, 235, 1)) << "the cover left its own pixels";
    expectBitmapPixels(kLightRect, 110, CPoint(0, 0));
}

TEST_F(NativeFrameTest, PopUpOpensBelowTheMenuAndKeysPickAnItem) {
    openFrame();
    CPoint popupAt;
    useMenu([&](NativeWindows& user, void* popup) {
        ASSERT_NE(popup, nullptr);
        popupAt = user.screenPosition(popup);
        user.keys(popup, {Key::Down, Key::Down, Key::Down, Key::Down, Key::Up, Key::Return});
    });
    const CPoint windowAt = desktop.screenPosition(window);
    EXPECT_EQ(popupAt, CPoint(windowAt.x + kMenuRect.left, windowAt.y + kMenuRect.bottom));
    EXPECT_EQ(recorder.calls, kPickedTwo);
    EXPECT_EQ(menu->getCurrent(), 2);
    EXPECT_TRUE(test_support::waitUntil([&] { return desktop.popup() == nullptr; })) << "the pop-up is gone";
}

TEST_F(NativeFrameTest, EscapeDismissesThePopUp) {
    openFrame();
    useMenu([](NativeWindows& user, void* popup) {
        ASSERT_NE(popup, nullptr);
        user.keys(popup, {Key::Down, Key::Escape});
    });
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"begin 0", "end 0"}));
    EXPECT_EQ(menu->getCurrent(), 1);
}

TEST_F(NativeFrameTest, NoWindowForAMissingOrBadParent) {
    for (void* bad : {static_cast<void*>(nullptr), kBadWindow}) {
        auto* lone = new CFrame(CRect(0, 0, 317, 59), bad, &recorder, &backend);
        EXPECT_EQ(lone->getPlatformFrame(), nullptr);
        lone->idle();
        lone->forget();
    }
    EXPECT_FALSE(desktop.frameClassRegistered());
}

TEST_F(NativeFrameTest, HostDestroyingItsWindowFirstIsSurvived) {
    openFrame();
    desktop.destroy(parent);
    light->setDirty();
    idle();
    frame->forget();
    frame = nullptr;
    EXPECT_FALSE(desktop.frameClassRegistered());
}

// A host that closes the editor from inside the automation call of a pick:
// the frame goes away while it is handling the pick.
TEST_F(NativeFrameTest, FrameClosedByThePickItHandlesIsSurvived) {
    openFrame();
    struct Closer : CControlListener {
        CFrame** frame;
        void valueChanged(CControl*) override {
            (*frame)->forget();
            *frame = nullptr;
        }
    } closer;
    closer.frame = &frame;
    menu->setListener(&closer);
    useMenu(
        [](NativeWindows& user, void* popup) {
            user.keys(popup, {Key::Down, Key::Return});
        },
        [this] { return frame == nullptr; });
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"begin 0", "end 0"})) << "the frame ended the edit";
}
