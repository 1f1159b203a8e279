// The X11 pop-up list as a user with a mouse meets it: drawn in the list's
// colours, the row under the pointer highlighted, a click on a row picks it,
// a click outside dismisses the list.
#include "tests/toolkit/native_frame_fixture.h"
#include "toolkit/cairo/popup_list.h"

using namespace MX::toolkit;
using namespace window_test;

namespace {
constexpr int kRowTwo = 1 + 2 * kPopupRowHeight;
}

TEST_F(NativeFrameTest, PopUpRowUnderThePointerIsHighlightedAndAClickPicksIt) {
    openFrame();
    bool drawn = false;
    bool highlighted = false;
    useMenu([&](NativeWindows& user, void* popup) {
        ASSERT_NE(popup, nullptr);
        drawn = test_support::waitUntil(
            [&] { return user.pixel(popup, 2, 1 + 5 * kPopupRowHeight + 1) == kPopupListColour; });
        user.move(popup, 8, kRowTwo + 8);
        highlighted = test_support::waitUntil(
            [&] { return user.pixel(popup, 2, kRowTwo + 1) == kPopupHighlightColour; });
        user.click(popup, 8, kRowTwo + 8);
    });
    EXPECT_TRUE(drawn);
    EXPECT_TRUE(highlighted);
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"begin 0", "value 2", "end 0"}));
    EXPECT_EQ(menu->getCurrent(), 2);
}

TEST_F(NativeFrameTest, ClickOutsideDismissesThePopUp) {
    openFrame();
    useMenu([host = parent](NativeWindows& user, void* popup) {
        ASSERT_NE(popup, nullptr);
        user.click(host, 2, 2);
    });
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"begin 0", "end 0"}));
    EXPECT_EQ(menu->getCurrent(), 1);
}

// The list stays open across idle calls, each of which returns; a pick made
// later still arrives, and closing the frame while the list is open takes the
// list down and ends the edit.
TEST_F(NativeFrameTest, IdleReturnsWhileTheListStaysOpen) {
    openFrame();
    for (bool pick : {true, false}) {
        recorder.calls.clear();
        desktop.click(window, kMenuRect.left + 20, kMenuRect.top + 7);
        void* popup = nullptr;
        ASSERT_TRUE(test_support::waitUntil([&] { return (popup = desktop.popup()) != nullptr; },
                                            [this] { idle(); }));
        for (int i = 0; i < 3; ++i) idle();
        EXPECT_EQ(desktop.popup(), popup) << "still open";
        EXPECT_EQ(recorder.calls, (std::vector<std::string>{"begin 0"}));
        if (pick) {
            desktop.keys(popup, {Key::Down, Key::Down, Key::Down, Key::Return});
            ASSERT_TRUE(
                test_support::waitUntil([&] { return recorder.calls.size() >= 3; }, [this] { idle(); }));
            EXPECT_EQ(recorder.calls, (std::vector<std::string>{"begin 0", "value 2", "end 0"}));
        } else {
            frame->forget();
            frame = nullptr;
            EXPECT_EQ(recorder.calls, (std::vector<std::string>{"begin 0", "end 0"}));
        }
        EXPECT_TRUE(test_support::waitUntil([&] { return desktop.popup() == nullptr; }))
            << "the list is gone";
    }
}
