// The X11 backend in a real X server, where the editor tests do not reach:
// repaint on Expose, the pop-up's place, highlight and keys, bad or vanished
// host windows. A toolkit frame inside a host-made parent window.
#include <gtest/gtest.h>

#include <X11/keysym.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/window/editor_views.h"
#include "toolkit/cairo/popup_list.h"
#include "toolkit/x11/x11_backend.h"
#include "toolkitTestBitmaps.h"
#include "x11_test_display.h"

using namespace MX::toolkit;
using namespace window_test;

namespace {

class X11FrameTest : public ::testing::Test {
protected:
    X11FrameTest() : provider(MX::toolkitTestBitmaps()) { setResourceProvider(&provider); }
    ~X11FrameTest() override {
        if (frame) frame->forget();
        setResourceProvider(nullptr);
    }

    void SetUp() override {
        ASSERT_TRUE(host.valid()) << "no X display";
        parent = host.createParent(317, 59);
    }

    // Like the editor's window: background, the menu, the light.
    void openFrame() {
        frame = new CFrame(CRect(0, 0, 317, 59), reinterpret_cast<void*>(parent), &recorder, &backend);
        ASSERT_NE(frame->getPlatformFrame(), nullptr);
        const EditorViews views = addEditorViews(*frame, recorder);
        menu = views.menu;
        light = views.light;
        idle();
        const std::vector<Window> children = host.children(parent);
        ASSERT_EQ(children.size(), 1u);
        window = children[0];
    }

    void idle() {
        frame->idle();
        XSync(host.display(), False);
    }

    // Each pixel of `rect` in the window against bitmap `bitmapId` from `source` on.
    void expectBitmapPixels(const CRect& rect, int bitmapId, const CPoint& source) {
        expectPixels([this](int x, int y) { return host.pixel(window, x, y); }, rect, CBitmap(bitmapId).image(), source);
    }

    // Clicks the menu and lets `user` act on the pop-up from another connection
    // while the frame's idle runs the pop-up's loop, as a host's idle call would.
    template <typename UserAction>
    void useMenu(UserAction action) {
        std::thread user([action] {
            X11TestDisplay person;
            const Window popup = person.waitForPopup(5000);
            action(person, popup);
        });
        host.click(window, kMenuRect.left + 20, kMenuRect.top + 7);
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (recorder.calls.size() < 2 && std::chrono::steady_clock::now() < end) {
            idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        user.join();
        idle();
    }

    X11TestDisplay host;
    Window parent = 0;
    Window window = 0;
    EmbeddedResourceProvider provider;
    X11Backend backend;
    Recorder recorder;
    CFrame* frame = nullptr;
    CAutoAnimation* light = nullptr;
    COptionMenu* menu = nullptr;
};

}  // namespace

TEST_F(X11FrameTest, ExposedAreasArePaintedAgain) {
    openFrame();
    const Window cover = host.createCover(parent, 280, 0, 37, 20, 0xFF00FF);
    XUnmapWindow(host.display(), cover);
    XSync(host.display(), False);
    EXPECT_NE(host.pixel(window, 306, 9), MakeCColor(240, 0, 0)) << "the cover left its own pixels";
    idle();
    expectBitmapPixels(kLightRect, 110, CPoint(0, 7));
    host.destroy(cover);
}

TEST_F(X11FrameTest, PopUpListsTheTitlesBelowTheMenuAndAPickSetsTheItem) {
    openFrame();
    CPoint popupAt;
    CColor rowColour;
    CColor highlightColour;
    const CPoint parentAt = host.rootPosition(parent);
    useMenu([&](X11TestDisplay& person, Window popup) {
        ASSERT_NE(popup, 0u);
        popupAt = person.rootPosition(popup);
        rowColour = person.pixel(popup, 2, 1 + 5 * kPopupRowHeight + 1);
        person.move(popup, 8, 1 + 2 * kPopupRowHeight + 8);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        highlightColour = person.pixel(popup, 2, 1 + 2 * kPopupRowHeight + 1);
        person.click(popup, 8, 1 + 2 * kPopupRowHeight + 8);
    });
    EXPECT_EQ(popupAt, CPoint(parentAt.x + kMenuRect.left, parentAt.y + kMenuRect.bottom));
    EXPECT_EQ(rowColour, kPopupListColour);
    EXPECT_NE(highlightColour, kPopupListColour);
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"begin 0", "value 2", "end 0"}));
    EXPECT_EQ(menu->getCurrent(), 2);
    EXPECT_EQ(host.waitForPopup(0), 0u) << "the pop-up is gone";
}

TEST_F(X11FrameTest, ClickOutsideDismissesThePopUp) {
    openFrame();
    useMenu([](X11TestDisplay& person, Window popup) {
        ASSERT_NE(popup, 0u);
        person.click(person.root(), 2, 2);
    });
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"begin 0", "end 0"}));
    EXPECT_EQ(menu->getCurrent(), 1);
}

TEST_F(X11FrameTest, KeysMoveThroughTheListAndReturnPicks) {
    openFrame();
    useMenu([](X11TestDisplay& person, Window popup) {
        ASSERT_NE(popup, 0u);
        for (int i = 0; i < 4; ++i) person.key(XK_Down);
        person.key(XK_Up);
        person.key(XK_Return);
    });
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"begin 0", "value 2", "end 0"}));
}

TEST_F(X11FrameTest, NoWindowForAMissingOrBadParent) {
    for (void* bad : {static_cast<void*>(nullptr), reinterpret_cast<void*>(std::uintptr_t{0x7ffffff0})}) {
        auto* lone = new CFrame(CRect(0, 0, 317, 59), bad, &recorder, &backend);
        EXPECT_EQ(lone->getPlatformFrame(), nullptr);
        lone->idle();
        lone->forget();
    }
}

TEST_F(X11FrameTest, HostDestroyingItsWindowFirstIsSurvived) {
    openFrame();
    host.destroy(parent);
    light->setDirty();
    idle();
    frame->forget();
    frame = nullptr;
}


// A host that closes the editor from inside the automation call of a pick: the
// frame goes away while its own idle is handling the click.
TEST_F(X11FrameTest, FrameClosedByThePickItHandlesIsSurvived) {
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
    std::thread user([] {
        X11TestDisplay person;
        const Window popup = person.waitForPopup(5000);
        if (popup) person.click(popup, 8, 1 + 2 * kPopupRowHeight + 8);
    });
    host.click(window, kMenuRect.left + 20, kMenuRect.top + 7);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (frame && std::chrono::steady_clock::now() < end) {
        idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    user.join();
    EXPECT_EQ(frame, nullptr);
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"begin 0"}));
}
