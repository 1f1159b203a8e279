// The built druvo_x64.dll in a real window system (wine on a virtual X
// server), as a Windows host runs it: the host passes its window to
// effEditOpen and runs its message loop between idle calls; the user clicks
// the bus menu and works the system pop-up menu.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <thread>

#include "editor_host.h"
#include "tests/window/editor_views.h"
#include "toolkit/resource_provider.h"
#include "toolkitTestBitmaps.h"
#include "win32_test_window.h"

using namespace MX::toolkit;
using namespace window_test;

namespace {

constexpr CColor kFaceColour{60, 65, 68, 255};

class Win32EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.ok()) << host.error();
        static HWND shared = createParentWindow(317, 59);  // wine is slow to take top-level windows down
        parent = shared;
        ASSERT_NE(parent, nullptr);
    }
    void TearDown() override {
        if (opened) host.closeEditor();
    }

    void open() {
        ASSERT_EQ(host.openEditor(parent), 1);
        opened = true;
        idle();
        const std::vector<HWND> children = childWindows(parent);
        ASSERT_EQ(children.size(), 1u) << "the editor's window inside the host's";
        window = children[0];
    }
    void idle() {
        host.idle();
        pumpMessages(0);
    }

    void expectBitmapPixels(const CRect& rect, int bitmapId, const CPoint& source) {
        PixelImage bitmap;
        ASSERT_TRUE(bitmaps.loadBitmap(bitmapId, bitmap));
        expectPixels([this](int x, int y) { return windowPixel(window, x, y); }, rect, bitmap, source);
    }

    // Clicks the bus menu; `action` works the pop-up from another thread while
    // the host's message loop is inside TrackPopupMenu.
    template <typename UserAction>
    void useMenu(UserAction action) {
        std::thread person([action] { action(waitForPopupMenu(5000)); });
        postClick(window, kMenuRect.left + 30, kMenuRect.top + 7);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (EditorHost::editCalls().size() < 2 && std::chrono::steady_clock::now() < end) {
            idle();
            pumpMessages(5);
        }
        person.join();
        idle();
    }

    EditorHost host;
    EmbeddedResourceProvider bitmaps{MX::toolkitTestBitmaps()};
    HWND parent = nullptr;
    HWND window = nullptr;
    bool opened = false;
};

bool bright(const CColor& c) { return c.red > 160 && c.green > 160 && c.blue > 160; }

// A host's timer, which hosts idle their editors from and which the system
// menu's own loop keeps running: runs the action on each tick until it answers true.
std::function<bool()> hostTimerAction;

VOID CALLBACK onHostTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (hostTimerAction && hostTimerAction()) hostTimerAction = nullptr;
}

}  // namespace

TEST_F(Win32EditorTest, WindowShowsLightChannelDisplayAndMenu) {
    open();
    idle();
    expectBitmapPixels(kLightRect, 110, CPoint(0, kGreenLightRow));
    EXPECT_EQ(windowPixel(window, 306, 9), MakeCColor(0, 235, 1));
    expectBitmapPixels(kDisplayRect, 115, CPoint(0, kSurroundPictureRow));
    EXPECT_EQ(windowPixel(window, kMenuRect.right - 1, kMenuRect.top), kFaceColour);
    int lit = 0;
    for (int x = kMenuRect.left + 15; x < kMenuRect.right; ++x) lit += bright(windowPixel(window, x, 47)) ? 1 : 0;
    EXPECT_GT(lit, 5) << "the current bus's title is drawn";
}

TEST_F(Win32EditorTest, PickFromThePopUpSetsTheParameterBetweenBeginAndEnd) {
    open();
    useMenu([](HWND popup) {
        ASSERT_NE(popup, nullptr);
        postKeys(popup, {VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    });
    EXPECT_EQ(EditorHost::editCalls(), (std::vector<std::string>{"begin 0", "automate 0 0.3125", "end 0"}));
    EXPECT_FLOAT_EQ(host.effect().getParameter(), 0.3125f);
}

TEST_F(Win32EditorTest, DismissingThePopUpGivesBeginAndEndOnly) {
    open();
    useMenu([](HWND popup) {
        ASSERT_NE(popup, nullptr);
        postKeys(popup, {VK_ESCAPE});
    });
    EXPECT_EQ(EditorHost::editCalls(), (std::vector<std::string>{"begin 0", "end 0"}));
    EXPECT_FLOAT_EQ(host.effect().getParameter(), 0.1875f);
}

// Inside TrackPopupMenu's loop the host's timer drops the link (the menu
// leaves the window) or closes the editor: the host still gets its endEdit.
TEST_F(Win32EditorTest, EditEndsWhenTheMenuGoesInsideTheMenuLoop) {
    open();
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, onHostTimer);
    for (const bool closeEditor : {false, true}) {
        EditorHost::clearCalls();
        hostTimerAction = [this, closeEditor] {
            HWND menu = FindWindowA("#32768", nullptr);
            if (EditorHost::editCalls().size() != 1 || !menu || !IsWindowVisible(menu)) return false;
            if (closeEditor) {
                host.closeEditor();
                opened = false;
            } else {
                host.setLinked(false);
                host.idle();
                postKeys(menu, {VK_ESCAPE});
            }
            return true;
        };
        postClick(window, kMenuRect.left + 30, kMenuRect.top + 7);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (EditorHost::editCalls().size() < 2 && std::chrono::steady_clock::now() < end) pumpMessages(5);
        EXPECT_EQ(EditorHost::editCalls(), (std::vector<std::string>{"begin 0", "end 0"})) << closeEditor;
        hostTimerAction = nullptr;
        host.setLinked(true);
        idle();
    }
    KillTimer(nullptr, timer);
    EXPECT_TRUE(childWindows(parent).empty());
}

TEST_F(Win32EditorTest, OpenCloseCyclesLeaveNoWindowsOrHandles) {
    open();
    host.closeEditor();
    opened = false;
    const long gdiObjects = gdiObjectsInUse();
    const long userObjects = userObjectsInUse();
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(host.openEditor(parent), 1);
        idle();
        host.closeEditor();
        ASSERT_TRUE(childWindows(parent).empty()) << "cycle " << i;
    }
    EXPECT_LE(gdiObjectsInUse(), gdiObjects + 2);
    EXPECT_LE(userObjectsInUse(), userObjects + 2);
}
