// The built druvo.so in a real X server, as a Linux host runs it: the host
// passes its window's id to effEditOpen and idles the editor; the user
// clicks the bus menu and picks from its pop-up.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <thread>

#include "editor_host.h"
#include "tests/window/editor_views.h"
#include "toolkit/bitmap.h"
#include "toolkit/cairo/popup_list.h"
#include "toolkit/resource_provider.h"
#include "toolkitTestBitmaps.h"
#include "x11_test_display.h"

using namespace MX::toolkit;
using namespace window_test;

namespace {


class X11EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(user.valid()) << "no X display";
        ASSERT_TRUE(host.ok()) << host.error();
        parent = user.createParent(317, 59);
    }
    void TearDown() override {
        if (opened) host.closeEditor();
    }

    void open() {
        ASSERT_EQ(host.openEditor(reinterpret_cast<void*>(parent)), 1);
        opened = true;
        idle();
        const std::vector<Window> children = user.children(parent);
        ASSERT_EQ(children.size(), 1u) << "the editor's window inside the host's";
        window = children[0];
    }
    void idle() {
        host.idle();
        XSync(user.display(), False);
    }

    void expectBitmapPixels(const CRect& rect, int bitmapId, const CPoint& source) {
        PixelImage bitmap;
        ASSERT_TRUE(bitmaps.loadBitmap(bitmapId, bitmap));
        expectPixels([this](int x, int y) { return user.pixel(window, x, y); }, rect, bitmap, source);
    }

    // Idles the editor until `done()` holds, within five seconds; whether it did.
    template <typename Condition>
    bool idleUntil(Condition done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            idle();
        }
        return true;
    }
    // Clicks the bus menu and idles until its list shows (and holds the grabs); the list's window.
    Window openList() {
        user.click(window, kMenuRect.left + 30, kMenuRect.top + 7);
        Window popup = 0;
        idleUntil([&] { return (popup = user.waitForPopup(0)) != 0; });
        return popup;
    }
    // Opens the list and lets `action` work it from a connection of its own
    // while the host keeps idling the editor, until the edit ends.
    template <typename UserAction>
    void useMenu(UserAction action) {
        const Window popup = openList();
        std::thread person([action, popup] {
            X11TestDisplay hand;
            action(hand, popup);
        });
        idleUntil([] { return EditorHost::editCalls().size() >= 2; });
        person.join();
        idle();
    }

    X11TestDisplay user;
    EditorHost host;
    EmbeddedResourceProvider bitmaps{MX::toolkitTestBitmaps()};
    Window parent = 0;
    Window window = 0;
    bool opened = false;
};

bool bright(const CColor& c) { return c.red > 160 && c.green > 160 && c.blue > 160; }

}  // namespace

TEST_F(X11EditorTest, WindowShowsLightChannelDisplayAndMenu) {
    open();
    idle();
    expectBitmapPixels(kLightRect, 110, CPoint(0, kGreenLightRow));
    EXPECT_EQ(user.pixel(window, 306, 9), MakeCColor(0, 235, 1));
    expectBitmapPixels(kDisplayRect, 115, CPoint(0, kSurroundPictureRow));
    EXPECT_EQ(user.pixel(window, kMenuRect.right - 1, kMenuRect.top), kPopupListColour);
    int lit = 0;
    for (int x = kMenuRect.left + 15; x < kMenuRect.right; ++x) lit += bright(user.pixel(window, x, 47)) ? 1 : 0;
    EXPECT_GT(lit, 5) << "the current bus's title is drawn";
}

TEST_F(X11EditorTest, PickFromThePopUpSetsTheParameterBetweenBeginAndEnd) {
    open();
    useMenu([](X11TestDisplay& hand, Window popup) {
        ASSERT_NE(popup, 0u);
        hand.click(popup, 20, 1 + 5 * kPopupRowHeight + 8);
    });
    EXPECT_EQ(EditorHost::editCalls(), (std::vector<std::string>{"begin 0", "automate 0 0.3125", "end 0"}));
    EXPECT_FLOAT_EQ(host.effect().getParameter(), 0.3125f);
}

TEST_F(X11EditorTest, DismissingThePopUpGivesBeginAndEndOnly) {
    open();
    useMenu([](X11TestDisplay& hand, Window popup) {
        ASSERT_NE(popup, 0u);
        hand.key(XK_Escape);
    });
    EXPECT_EQ(EditorHost::editCalls(), (std::vector<std::string>{"begin 0", "end 0"}));
    EXPECT_FLOAT_EQ(host.effect().getParameter(), 0.1875f);
}

// effEditIdle returns while the list is open; a pick made later reaches the
// host as one edit.
TEST_F(X11EditorTest, IdleReturnsWhileTheListIsOpenAndALaterPickReachesTheHost) {
    open();
    const Window popup = openList();
    ASSERT_NE(popup, 0u);
    for (int i = 0; i < 3; ++i) idle();
    EXPECT_EQ(user.waitForPopup(0), popup) << "still open";
    EXPECT_EQ(EditorHost::editCalls(), std::vector<std::string>{"begin 0"});
    user.click(popup, 20, 1 + 5 * kPopupRowHeight + 8);
    ASSERT_TRUE(idleUntil([] { return EditorHost::editCalls().size() >= 3; }));
    EXPECT_EQ(EditorHost::editCalls(), (std::vector<std::string>{"begin 0", "automate 0 0.3125", "end 0"}));
}

// The link drops (the menu leaves the window) or the host closes the editor
// while the list is open: the host still gets its endEdit, and the list goes.
TEST_F(X11EditorTest, EditEndsWhenTheMenuGoesWhileItsListIsOpen) {
    open();
    ASSERT_NE(openList(), 0u);
    host.setLinked(false);
    idle();
    EXPECT_NE(user.waitForPopup(0), 0u) << "the list outlives the menu face";
    user.key(XK_Escape);
    ASSERT_TRUE(idleUntil([] { return EditorHost::editCalls().size() >= 2; }));
    EXPECT_EQ(EditorHost::editCalls(), (std::vector<std::string>{"begin 0", "end 0"}));

    host.setLinked(true);
    idle();
    EditorHost::clearCalls();
    ASSERT_NE(openList(), 0u);
    host.closeEditor();
    opened = false;
    XSync(user.display(), False);
    EXPECT_EQ(EditorHost::editCalls(), (std::vector<std::string>{"begin 0", "end 0"}));
    EXPECT_EQ(user.waitForPopup(0), 0u);
    EXPECT_TRUE(user.children(parent).empty());
}

TEST_F(X11EditorTest, OpenCloseCyclesLeaveNothingBehind) {
    open();
    host.closeEditor();
    const int descriptors = openFileDescriptors();
    const int clients = user.serverClients();
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(host.openEditor(reinterpret_cast<void*>(parent)), 1);
        host.idle();
        host.closeEditor();
        ASSERT_TRUE(user.children(parent).empty()) << "cycle " << i;
    }
    opened = false;
    EXPECT_EQ(openFileDescriptors(), descriptors);
    EXPECT_EQ(user.serverClients(), clients);
}

TEST_F(X11EditorTest, WithoutAParentTheEditorStillOpensOffscreen) {
    ASSERT_EQ(host.openEditor(nullptr), 1);
    opened = true;
    host.idle();
    EXPECT_TRUE(user.children(parent).empty());
}
