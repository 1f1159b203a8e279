// The Win32 backend in a real window system (wine on a virtual X server),
// where the editor tests do not reach: the bitmap resources, repaint on
// WM_PAINT, the pop-up's place, bad or vanished host windows and the window
// class going with the last frame. A toolkit frame inside a host-made window.
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/window/editor_views.h"
#include "toolkit/win32/win32_backend.h"
#include "toolkit/win32/win32_resource_provider.h"
#include "toolkitTestBitmaps.h"
#include "win32_test_window.h"

using namespace MX::toolkit;
using namespace window_test;

namespace {

bool frameClassExists() {
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    return GetClassInfoExA(GetModuleHandleA(nullptr), "DruvoFrameWindow", &info) != 0;
}

class Win32FrameTest : public ::testing::Test {
protected:
    Win32FrameTest() { setResourceProvider(&resources); }
    ~Win32FrameTest() override {
        if (frame) frame->forget();
        setResourceProvider(nullptr);
    }

    // One host window for all tests: wine takes seconds to take a top-level
    // window down when no window manager answers.
    void SetUp() override {
        static HWND shared = nullptr;
        if (!IsWindow(shared)) shared = createParentWindow(317, 59);
        parent = shared;
        ASSERT_NE(parent, nullptr);
    }

    void openFrame() {
        frame = new CFrame(CRect(0, 0, 317, 59), parent, &recorder, &backend);
        ASSERT_NE(frame->getPlatformFrame(), nullptr);
        const EditorViews views = addEditorViews(*frame, recorder);
        menu = views.menu;
        light = views.light;
        frame->idle();
        pumpMessages(0);
        const std::vector<HWND> children = childWindows(parent);
        ASSERT_EQ(children.size(), 1u);
        window = children[0];
    }

    void expectBitmapPixels(const CRect& rect, int bitmapId, const CPoint& source) {
        expectPixels([this](int x, int y) { return windowPixel(window, x, y); }, rect, CBitmap(bitmapId).image(), source);
    }

    // Clicks the menu; `action` acts on the open pop-up from another thread
    // while this one is inside TrackPopupMenu, as a user would.
    template <typename UserAction>
    void useMenu(UserAction action) {
        std::thread user([action] { action(waitForPopupMenu(5000)); });
        postClick(window, kMenuRect.left + 20, kMenuRect.top + 7);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (recorder.calls.size() < 2 && std::chrono::steady_clock::now() < end) pumpMessages(10);
        user.join();
        frame->idle();
    }

    Win32ResourceProvider resources;
    Win32Backend backend;
    Recorder recorder;
    HWND parent = nullptr;
    HWND window = nullptr;
    CFrame* frame = nullptr;
    CAutoAnimation* light = nullptr;
    COptionMenu* menu = nullptr;
};

}  // namespace

TEST(Win32ResourcesTest, BitmapResourcesDecodeToTheSameImagesAsTheFiles) {
    Win32ResourceProvider resources;
    EmbeddedResourceProvider files(MX::toolkitTestBitmaps());
    for (int id : {101, 109, 110, 115, 116, 118}) {
        PixelImage fromResource;
        PixelImage fromFile;
        ASSERT_TRUE(resources.loadBitmap(id, fromResource)) << id;
        ASSERT_TRUE(files.loadBitmap(id, fromFile)) << id;
        EXPECT_EQ(fromResource.width, fromFile.width) << id;
        EXPECT_EQ(fromResource.height, fromFile.height) << id;
        EXPECT_EQ(fromResource.pixels, fromFile.pixels) << id;
    }
    PixelImage missing;
    EXPECT_FALSE(resources.loadBitmap(102, missing));
    EXPECT_FALSE(resources.loadBitmap(-1, missing));
    EXPECT_TRUE(missing.empty());
}

TEST_F(Win32FrameTest, IdleRedrawsChangedViewsAndPaintRestoresTheWindow) {
    openFrame();
    light->setValue(0.01f);
    light->setDirty();
    frame->idle();
    EXPECT_EQ(windowPixel(window, 306, 9), MakeCColor(0, 235, 1));

    HDC dc = GetDC(window);  // scribble over the window, then ask for a repaint
    RECT all{0, 0, 317, 59};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(window, dc);
    ASSERT_NE(windowPixel(window, 306, 9), MakeCColor(0, 235, 1));
    InvalidateRect(window, nullptr, FALSE);
    pumpMessages(50);
    expectBitmapPixels(kLightRect, 110, CPoint(0, 0));
}

TEST_F(Win32FrameTest, PopUpMenuOpensBelowTheMenuAndAPickSetsTheItem) {
    openFrame();
    RECT popupAt{};
    useMenu([&](HWND popup) {
        ASSERT_NE(popup, nullptr);
        GetWindowRect(popup, &popupAt);
        postKeys(popup, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    });
    POINT anchor{kMenuRect.left, kMenuRect.bottom};
    ClientToScreen(window, &anchor);
    EXPECT_EQ(popupAt.left, anchor.x);
    EXPECT_EQ(popupAt.top, anchor.y);
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"begin 0", "value 2", "end 0"}));
    EXPECT_EQ(menu->getCurrent(), 2);
}

TEST_F(Win32FrameTest, NoWindowForAMissingOrBadParent) {
    for (void* bad : {static_cast<void*>(nullptr), reinterpret_cast<void*>(std::uintptr_t{0x7ff0})}) {
        auto* lone = new CFrame(CRect(0, 0, 317, 59), bad, &recorder, &backend);
        EXPECT_EQ(lone->getPlatformFrame(), nullptr);
        lone->idle();
        lone->forget();
    }
    EXPECT_FALSE(frameClassExists());
}

TEST_F(Win32FrameTest, HostDestroyingItsWindowFirstIsSurvived) {
    openFrame();
    DestroyWindow(parent);
    light->setDirty();
    frame->idle();
    frame->forget();
    frame = nullptr;
    EXPECT_FALSE(frameClassExists());
}

