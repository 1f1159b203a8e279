// The host's side of a Win32 editor test: a top-level window as a host's
// plug-in window, its message loop, pixels read back from window DCs, and a
// user's keys sent to the system pop-up menu while it is open.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <vector>

#include "toolkit/color.h"
#include "toolkit/geometry.h"

namespace window_test {

// A visible top-level window with a client area of `width` x `height`.
HWND createParentWindow(int width, int height);
// Runs the thread's message loop for about `milliseconds`, as a host does between idle calls.
void pumpMessages(int milliseconds);
std::vector<HWND> childWindows(HWND parent);
MX::toolkit::CColor windowPixel(HWND window, int x, int y);
// Clicks (x, y) of `window` with the left button, through its message queue.
void postClick(HWND window, int x, int y);
// The system pop-up menu window once it is visible, within `milliseconds`; null otherwise.
HWND waitForPopupMenu(int milliseconds);
// Posts key presses (virtual-key codes) to the menu window's queue, as typed.
void postKeys(HWND menu, const std::vector<int>& keys);

// A measure of the GDI objects this process holds that grows with each one
// not released: GetGuiResources where the system counts them; wine answers 0
// there, and then where its handle table hands out fresh slots.
long gdiObjectsInUse();
// The same for USER objects (windows, menus).
long userObjectsInUse();

}  // namespace window_test
