// A real window system as a host and a user meet it in the window tests: X11
// on $DISPLAY (x11/x11_native_window.cpp) or Win32 under wine
// (win32/win32_native_window.cpp), chosen at build time, so one test body
// runs against each backend. Windows are the native handles the toolkit
// takes (an X11 window id or an HWND, as void*). The test thread and a test's
// user thread each use an instance of their own (on X11 its own connection).
#pragma once

#include <atomic>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "tests/support/wait_until.h"
#include "toolkit/color.h"
#include "toolkit/geometry.h"

namespace window_test {

// No window on either system: a handle no window was ever given.
inline void* const kBadWindow = reinterpret_cast<void*>(std::uintptr_t{0x7ffffff0});

enum class Key { Up, Down, Return, Escape };
enum class Button { Left, Right };

// The X11 list is shown before it grabs the keyboard, in the same idle call:
// a user thread waits until an idle has returned with the list open (set by
// the idling thread) before typing. Win32's menu loop takes keys at once.
inline void waitForListGrabs(const std::atomic<bool>& idledOpen) {
#ifndef _WIN32
    test_support::waitUntil([&] { return idledOpen.load(); });
#else
    (void)idledOpen;
#endif
}

class NativeWindows {
public:
    NativeWindows();
    ~NativeWindows();
    NativeWindows(const NativeWindows&) = delete;
    NativeWindows& operator=(const NativeWindows&) = delete;

    bool valid() const;
    // A shown top-level window with a client area of `width` x `height` at (40, 40) of the screen.
    void* createParent(int width, int height);
    void destroy(void* window);
    std::vector<void*> children(void* window);
    // Colour at (x, y) of `window` as the system shows it.
    MX::toolkit::CColor pixel(void* window, int x, int y);
    MX::toolkit::CPoint screenPosition(void* window);
    // Delivers what waits for this thread (Win32: its messages) or lets the
    // server process what this connection sent (X11).
    void sync();

    void move(void* window, int x, int y);
    // A press and a release of `button` at (x, y) of `window`; press() and
    // release() send each half, for a button held down in between.
    void click(void* window, int x, int y, Button button = Button::Left);
    void press(void* window, int x, int y, Button button = Button::Left);
    void release(void* window, int x, int y, Button button = Button::Left);
    // Covers `area` of `window` and uncovers it, as a window moved over it
    // would: the pixels there are the cover's until the window paints again.
    void damage(void* window, const MX::toolkit::CRect& area);
    // The pop-up list shown now (X11: the toolkit's list window, drawn;
    // Win32: the system menu), or null; waitForPopup() polls for it.
    void* popup();
    void* waitForPopup() {
        void* shown = nullptr;
        test_support::waitUntil([&] { return (shown = popup()) != nullptr; });
        return shown;
    }
    void keys(void* list, std::initializer_list<Key> keys);
    // Clicks row `row` of the shown list where it is drawn: X11, the toolkit's
    // rows at display `scale`; Win32, the system menu's own item rectangle.
    void clickRow(void* list, int row, double scale);

    // Counts of what frames hold in the window system (X11: file descriptors
    // and server clients; Win32: GDI and USER objects).
    std::vector<long> resourcesInUse();
    // Win32: whether the frames' window class is registered; X11 has none.
    bool frameClassRegistered();

private:
    void* connection_;  // X11: the Display
};

}  // namespace window_test
