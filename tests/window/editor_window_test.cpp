// The built plug-in (druvo.so natively, druvo_x64.dll under wine) in a real
// window system, as a host runs it: the host passes its window to
// effEditOpen and idles the editor; the user clicks the bus menu and works
// its pop-up. One body for both systems.
#include <gtest/gtest.h>

#ifdef _WIN32
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#include <functional>
#include <thread>

#include "editor_host.h"
#include "tests/support/wait_until.h"
#include "tests/toolkit/editor_views.h"
#include "tests/toolkit/native_window.h"
#include "toolkit/resource_provider.h"
#include "toolkitTestBitmaps.h"

using namespace MX::toolkit;
using namespace window_test;

namespace {

constexpr CColor kMenuFaceColour{60, 65, 68, 255};
constexpr CColor kGreen{0, 235, 1, 255};

bool bright(const CColor& c) { return c.red > 160 && c.green > 160 && c.blue > 160; }

#ifdef _WIN32
// A host's timer, which hosts idle their editors from and which the system
// menu's own loop keeps running: runs the action on each tick until it answers true.
std::function<bool()> hostTimerAction;
VOID CALLBACK onHostTimer(HWND, UINT, UINT_PTR, DWORD) {
    if (hostTimerAction && hostTimerAction()) hostTimerAction = nullptr;
}
#endif

class EditorWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(desktop.valid()) << "no window system";
        ASSERT_TRUE(host.ok()) << host.error();
        parent = desktop.createParent(317, 59);
        ASSERT_NE(parent, nullptr);
    }
    void TearDown() override {
        if (opened) host.closeEditor();
    }

    void open() {
        ASSERT_EQ(host.openEditor(parent), 1);
        opened = true;
        idle();
        const std::vector<void*> children = desktop.children(parent);
        ASSERT_EQ(children.size(), 1u) << "the editor's window inside the host's";
        window = children[0];
    }
    void idle() {
        host.idle();
        desktop.sync();
    }

    // Idles until `rect` of the window shows bitmap `bitmapId` from `source` on.
    void expectBitmapPixels(const CRect& rect, int bitmapId, const CPoint& source) {
        PixelImage bitmap;
        ASSERT_TRUE(bitmaps.loadBitmap(bitmapId, bitmap));
        std::string mismatch;
        const auto shown = [&] {
            mismatch = pixelMismatch([this](int x, int y) { return desktop.pixel(window, x, y); }, rect,
                                     bitmap, source);
            return mismatch.empty();
        };
        EXPECT_TRUE(test_support::waitUntil(shown, [this] { idle(); })) << mismatch;
    }

    // Clicks the bus menu with `button` and idles, as a host does, until the
    // edit ends; meanwhile the user presses `keys` on the shown pop-up.
    void useMenu(std::initializer_list<Key> keys, Button button = Button::Left) {
        useMenuWith([keys](NativeWindows& user, void* popup) { user.keys(popup, keys); }, 1, button);
    }
    // The same, clicking at the menu's place at display `scale`; the user
    // works the pop-up with `act`.
    void useMenuWith(std::function<void(NativeWindows&, void*)> act, int scale,
                     Button button = Button::Left) {
        std::atomic<bool> idledOpen{false};
        std::thread person([&act, &idledOpen] {
            NativeWindows user;
            void* popup = user.waitForPopup();
            waitForListGrabs(idledOpen);
            if (popup) act(user, popup);
        });
        desktop.click(window, scale * (kMenuRect.left + 30), scale * (kMenuRect.top + 7), button);
        const auto ended = [] {
            const std::vector<std::string> calls = EditorHost::editCalls();
            return !calls.empty() && calls.back() == "end 0";
        };
        EXPECT_TRUE(test_support::waitUntil(ended, [&] {
            idle();
            if (desktop.popup()) idledOpen = true;
        }));
        person.join();
    }

    // Presses on the bus menu, idles until its list shows, then lets go:
    // the release lands on the menu face, outside the list. The list, or null.
    void* openList() {
        desktop.press(window, kMenuRect.left + 30, kMenuRect.top + 7);
        void* popup = nullptr;
        test_support::waitUntil([&] { return (popup = desktop.popup()) != nullptr; }, [this] { idle(); });
        desktop.release(window, kMenuRect.left + 30, kMenuRect.top + 7);
        return popup;
    }
    // Opens the bus menu's list and makes `hostRequest` while it is open:
    // X11's list stays open across idle calls; Win32's runs its own loop
    // inside the click, where the host's timer makes the request.
    void whileListOpen(const std::function<void()>& hostRequest) {
        EditorHost::clearCalls();
#ifndef _WIN32
        ASSERT_NE(openList(), nullptr);
        hostRequest();
#else
        hostTimerAction = [&] {
            if (EditorHost::editCalls().size() != 1 || !desktop.popup()) return false;
            hostRequest();
            return true;
        };
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, onHostTimer);
        desktop.click(window, kMenuRect.left + 30, kMenuRect.top + 7);
        EXPECT_TRUE(test_support::waitUntil([] { return !hostTimerAction; }, [this] { desktop.sync(); }));
        KillTimer(nullptr, timer);
        hostTimerAction = nullptr;
#endif
    }
    bool idleUntilCalls(std::size_t count) {
        return test_support::waitUntil([count] { return EditorHost::editCalls().size() >= count; },
                                       [this] { idle(); });
    }

    NativeWindows desktop;
    EditorHost host;
    EmbeddedResourceProvider bitmaps{MX::toolkitTestBitmaps()};
    void* parent = nullptr;
    void* window = nullptr;
    bool opened = false;
};

}  // namespace

TEST_F(EditorWindowTest, WindowShowsLightChannelDisplayAndMenu) {
    open();
    expectBitmapPixels(kLightRect, 110, CPoint(0, kGreenLightRow));
    EXPECT_EQ(desktop.pixel(window, 306, 9), kGreen);
    expectBitmapPixels(kDisplayRect, 115, CPoint(0, kSurroundPictureRow));
    EXPECT_EQ(desktop.pixel(window, kMenuRect.right - 1, kMenuRect.top), kMenuFaceColour);
    int lit = 0;
    for (int x = kMenuRect.left + 15; x < kMenuRect.right; ++x)
        lit += bright(desktop.pixel(window, x, 47)) ? 1 : 0;
    EXPECT_GT(lit, 5) << "the current bus's title is drawn";
}

TEST_F(EditorWindowTest, PickFromThePopUpSetsTheParameterBetweenBeginAndEnd) {
    open();
    useMenu({Key::Down, Key::Down, Key::Down, Key::Down, Key::Down, Key::Down, Key::Return});
    EXPECT_EQ(EditorHost::editCalls(), (std::vector<std::string>{"begin 0", "automate 0 0.3125", "end 0"}));
    EXPECT_FLOAT_EQ(host.effect().getParameter(), 0.3125f);
}

// The right button opens the list as the left one does.
TEST_F(EditorWindowTest, DismissingThePopUpGivesBeginAndEndOnly) {
    open();
    useMenu({Key::Escape}, Button::Right);
    EXPECT_EQ(EditorHost::editCalls(), (std::vector<std::string>{"begin 0", "end 0"}));
    EXPECT_FLOAT_EQ(host.effect().getParameter(), 0.1875f);
}

#ifndef _WIN32
// effEditIdle returns while the X11 list is open, the button that opened it
// released outside it; a pick made later reaches the host as one edit.
TEST_F(EditorWindowTest, IdleReturnsWhileTheListIsOpenAndALaterPickReachesTheHost) {
    open();
    void* popup = openList();
    ASSERT_NE(popup, nullptr);
    for (int i = 0; i < 3; ++i) idle();
    EXPECT_EQ(desktop.popup(), popup) << "still open";
    EXPECT_EQ(EditorHost::editCalls(), std::vector<std::string>{"begin 0"});
    desktop.keys(popup, {Key::Down, Key::Down, Key::Down, Key::Down, Key::Down, Key::Down, Key::Return});
    ASSERT_TRUE(idleUntilCalls(3));
    EXPECT_EQ(EditorHost::editCalls(), (std::vector<std::string>{"begin 0", "automate 0 0.3125", "end 0"}));
}
#endif

// The link drops (the menu leaves the window) or the host closes the editor
// while the list is open: the host still gets its endEdit, and the list goes.
TEST_F(EditorWindowTest, EditEndsWhenTheMenuGoesWhileItsPopUpIsOpen) {
    open();
    for (const bool closeEditor : {false, true}) {
        whileListOpen([&] {
            if (closeEditor) {
                host.closeEditor();
                opened = false;
            } else {
                host.setLinked(false);
                host.idle();
                desktop.keys(desktop.popup(), {Key::Escape});
            }
        });
        EXPECT_TRUE(idleUntilCalls(2));
        EXPECT_EQ(EditorHost::editCalls(), (std::vector<std::string>{"begin 0", "end 0"})) << closeEditor;
        EXPECT_TRUE(test_support::waitUntil([&] { return desktop.popup() == nullptr; }))
            << "the pop-up is gone";
        host.setLinked(true);
        idle();
    }
    EXPECT_TRUE(desktop.children(parent).empty());
}

// A host that opens the editor again from the endEdit that closing the
// window sends (on effEditClose, or on an effEditOpen over the open window)
// gets one working window, and nothing of the old one stays.
TEST_F(EditorWindowTest, HostOpeningTheEditorFromTheEndOfTheEditGetsOneWorkingWindow) {
    open();
    for (const bool openOver : {false, true}) {
        EditorHost::onNextEndEdit([this] { host.openEditor(parent); });
        whileListOpen([this, openOver] {
            if (openOver) {
                host.openEditor(parent);
            } else {
                host.closeEditor();
            }
        });
        EXPECT_EQ(EditorHost::editCalls(), (std::vector<std::string>{"begin 0", "end 0"})) << openOver;
        idle();
        const std::vector<void*> children = desktop.children(parent);
        ASSERT_EQ(children.size(), 1u) << openOver;
        window = children[0];
        expectBitmapPixels(kLightRect, 110, CPoint(0, kGreenLightRow));
    }
    host.closeEditor();
    opened = false;
    EXPECT_TRUE(desktop.children(parent).empty());
}

// The same host request from the endEdit that closing the effect sends is
// refused: the effect is going, and no window of it stays.
TEST_F(EditorWindowTest, HostOpeningTheEditorWhileTheEffectClosesGetsNoWindow) {
    open();
    long answer = -1;
    EditorHost::onNextEndEdit([&] { answer = host.openEditor(parent); });
    whileListOpen([this] { host.effect().close(); });
    opened = false;
    EXPECT_EQ(answer, 0);
    EXPECT_TRUE(desktop.children(parent).empty());
}

// Run apart, on a display at 192 DPI (window_editor_tests_2x), in a host that
// shows plug-ins at the display's scale: the window is twice the size, the
// light is the double-size drawing pixel for pixel, and the menu and the
// fourth row of its list answer clicks at their scaled places.
TEST_F(EditorWindowTest, AtTwiceTheScaleDrawsAndAnswersClicksAtScaledPlaces) {
#ifdef _WIN32
    SetProcessDPIAware();
#endif
    parent = desktop.createParent(634, 118);
    ERect* rect = nullptr;
    ASSERT_EQ(host.effect().dispatch(effEditGetRect, 0, 0, &rect), 1);
    EXPECT_EQ(rect->right, 634);
    EXPECT_EQ(rect->bottom, 118);
    open();
    expectBitmapPixels(CRect(606, 12, 620, 26), 1110, CPoint(0, kGreenLightRow));

    useMenuWith([](NativeWindows& user, void* popup) { user.clickRow(popup, 3, 2.0); }, 2);
    EXPECT_EQ(EditorHost::editCalls(), (std::vector<std::string>{"begin 0", "automate 0 0.1875", "end 0"}));
}

TEST_F(EditorWindowTest, OpenCloseCyclesLeaveNothingBehind) {
    open();
    host.closeEditor();
    opened = false;
    const std::vector<long> before = desktop.resourcesInUse();
    for (int i = 0; i < 200; ++i) {
        ASSERT_EQ(host.openEditor(parent), 1);
        idle();
        host.closeEditor();
        ASSERT_TRUE(desktop.children(parent).empty()) << "cycle " << i;
    }
    // One thing left per cycle would show as 200; the system's own caches vary by a few.
    const std::vector<long> after = desktop.resourcesInUse();
    for (std::size_t i = 0; i < before.size(); ++i) EXPECT_LE(after[i], before[i] + 10) << "count " << i;
}
