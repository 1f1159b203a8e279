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

    // Idles the frame until `done()` holds, within five seconds; whether it did.
    template <typename Condition>
    bool idleUntil(Condition done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done()) {
            if (std::chrono::steady_clock::now() > end) return false;
            idle();
        }
        return true;
    }
    // Clicks the menu and idles until its list shows (and holds the grabs); the list's window.
    Window openList() {
        host.click(window, kMenuRect.left + 20, kMenuRect.top + 7);
        Window popup = 0;
        idleUntil([&] { return (popup = host.waitForPopup(0)) != 0; });
        return popup;
    }
    // Opens the list and lets `user` act on it from another connection while
    // the host keeps idling the frame, until the edit ends.
    template <typename UserAction>
    void useMenu(UserAction action) {
        const Window popup = openList();
        std::thread user([action, popup] {
            X11TestDisplay person;
            action(person, popup);
        });
        idleUntil([this] { return recorder.calls.size() >= 2; });
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

// The list stays open across idle calls, each of which returns with nothing
// to wait for; a pick made later still arrives, and closing the frame while
// the list is open takes the list down and ends the edit.
TEST_F(X11FrameTest, IdleReturnsWhileTheListStaysOpen) {
    openFrame();
    for (bool pick : {true, false}) {
        recorder.calls.clear();
        const Window popup = openList();
        ASSERT_NE(popup, 0u);
        for (int i = 0; i < 3; ++i) idle();
        EXPECT_EQ(host.waitForPopup(0), popup) << "still open";
        EXPECT_EQ(recorder.calls, (std::vector<std::string>{"begin 0"}));
        if (pick) {
            for (int i = 0; i < 3; ++i) host.key(XK_Down);
            host.key(XK_Return);
            ASSERT_TRUE(idleUntil([&] { return recorder.calls.size() >= 3; }));
            EXPECT_EQ(recorder.calls, (std::vector<std::string>{"begin 0", "value 2", "end 0"}));
        } else {
            frame->forget();
            frame = nullptr;
            XSync(host.display(), False);
            EXPECT_EQ(recorder.calls, (std::vector<std::string>{"begin 0", "end 0"}));
        }
        EXPECT_EQ(host.waitForPopup(0), 0u) << "the list is gone";
    }
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
// frame goes away while its own idle is handling the pick.
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
    const Window popup = openList();
    ASSERT_NE(popup, 0u);
    host.click(popup, 8, 1 + 2 * kPopupRowHeight + 8);
    EXPECT_TRUE(idleUntil([this] { return frame == nullptr; }));
    EXPECT_EQ(recorder.calls, (std::vector<std::string>{"begin 0", "end 0"})) << "the frame ended the edit";
}
