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
        drawn = test_support::waitUntil([&] { return user.pixel(popup, 2, 1 + 5 * kPopupRowHeight + 1) == kPopupListColour; });
        user.move(popup, 8, kRowTwo + 8);
        highlighted = test_support::waitUntil([&] { return user.pixel(popup, 2, kRowTwo + 1) == kPopupHighlightColour; });
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
