// A toolkit frame on the window system's own backend (X11 or Win32, as
// built), inside a host-made parent window, with views like the editor's;
// a user works its pop-up from a thread and window connection of their own.
// Test thread; the user's action runs on the user's thread.
#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "tests/support/wait_until.h"
#include "tests/toolkit/editor_views.h"
#include "tests/toolkit/native_window.h"
#include "toolkit/bitmap.h"
#include "toolkit/resource_provider.h"
#include "toolkitTestBitmaps.h"
#ifdef _WIN32
#include "toolkit/win32/win32_backend.h"
#else
#include "toolkit/x11/x11_backend.h"
#endif

namespace window_test {

#ifdef _WIN32
using NativeBackend = MX::toolkit::Win32Backend;
#else
using NativeBackend = MX::toolkit::X11Backend;
#endif

class NativeFrameTest : public ::testing::Test {
protected:
    NativeFrameTest() { MX::toolkit::setResourceProvider(&provider); }
    ~NativeFrameTest() override {
        if (frame) frame->forget();
        MX::toolkit::setResourceProvider(nullptr);
    }

    void SetUp() override {
        ASSERT_TRUE(desktop.valid()) << "no window system";
        parent = desktop.createParent(317, 59);
        ASSERT_NE(parent, nullptr);
    }

    void openFrame() {
        using namespace MX::toolkit;
        frame = new CFrame(CRect(0, 0, 317, 59), parent, &recorder, &backend);
        ASSERT_NE(frame->getPlatformFrame(), nullptr);
        const EditorViews views = addEditorViews(*frame, recorder);
        menu = views.menu;
        light = views.light;
        idle();
        const std::vector<void*> children = desktop.children(parent);
        ASSERT_EQ(children.size(), 1u);
        window = children[0];
    }

    void idle() {
        if (frame) frame->idle();
        desktop.sync();
    }

    // Idles until `rect` of the window shows bitmap `bitmapId` from `source` on.
    void expectBitmapPixels(const MX::toolkit::CRect& rect, int bitmapId, const MX::toolkit::CPoint& source) {
        const MX::toolkit::CBitmap bitmap(bitmapId);
        std::string mismatch;
        EXPECT_TRUE(test_support::waitUntil(
            [&] {
                mismatch = pixelMismatch([this](int x, int y) { return desktop.pixel(window, x, y); }, rect,
                                         bitmap.image(), source);
                return mismatch.empty();
            },
            [this] { idle(); }))
            << mismatch;
    }

    // Clicks the menu and idles, as a host does, until `done`; meanwhile
    // `action(user, popup)` works the shown pop-up from the user's thread.
    template <typename UserAction, typename Done>
    void useMenu(UserAction action, Done done) {
        std::atomic<bool> idledOpen{false};
        std::thread user([action, &idledOpen] {
            NativeWindows hand;
            void* popup = hand.waitForPopup();
            waitForListGrabs(idledOpen);
            action(hand, popup);
        });
        desktop.click(window, kMenuRect.left + 20, kMenuRect.top + 7);
        EXPECT_TRUE(test_support::waitUntil(done, [&] {
            idle();
            if (desktop.popup()) idledOpen = true;
        }));
        user.join();
    }
    template <typename UserAction>
    void useMenu(UserAction action) {
        useMenu(action, [this] { return !recorder.calls.empty() && recorder.calls.back() == "end 0"; });
    }

    NativeWindows desktop;
    MX::toolkit::EmbeddedResourceProvider provider{MX::toolkitTestBitmaps()};
    NativeBackend backend;
    Recorder recorder;
    void* parent = nullptr;
    void* window = nullptr;
    MX::toolkit::CFrame* frame = nullptr;
    MX::toolkit::CAutoAnimation* light = nullptr;
    MX::toolkit::COptionMenu* menu = nullptr;
};

}  // namespace window_test
