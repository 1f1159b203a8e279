// A Windows host for screenshots: opens the built druvo_x64.dll's editor in a
// window whose client area starts at screen point (40, 40), prints "open"
// when it shows, and with "popup" clicks the bus menu so the system pop-up
// stays open. Quits after the given seconds (closing a pop-up first).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "editor_host.h"
#include "win32_test_window.h"

using namespace window_test;

int main(int argc, char** argv) {
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 5;
    const bool popup = argc > 2 && std::strcmp(argv[2], "popup") == 0;
    EditorHost host;
    HWND parent = createParentWindow(317, 59);
    if (!host.ok() || !parent) {
        std::fprintf(stderr, "win32_window_host: %s\n", host.ok() ? "no window" : host.error().c_str());
        return 1;
    }
    POINT origin{0, 0};
    ClientToScreen(parent, &origin);
    RECT frame{};
    GetWindowRect(parent, &frame);
    SetWindowPos(parent, nullptr, frame.left + 40 - origin.x, frame.top + 40 - origin.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER);
    host.openEditor(parent);
    for (int i = 0; i < 20; ++i) {
        host.idle();
        pumpMessages(10);
    }
    std::printf("open\n");
    std::fflush(stdout);

    std::thread closer([seconds, popup] {
        std::this_thread::sleep_for(std::chrono::seconds(seconds));
        if (popup) postKeys(waitForPopupMenu(1000), {VK_ESCAPE});
    });
    const std::vector<HWND> children = childWindows(parent);
    if (popup && !children.empty()) {
        PostMessageA(children[0], WM_MOUSEMOVE, 0, MAKELPARAM(60, 85));
        postClick(children[0], 171 + 30, 47);
    }
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (std::chrono::steady_clock::now() < end) {
        host.idle();
        pumpMessages(20);
    }
    closer.join();
    host.closeEditor();
    DestroyWindow(parent);
    return 0;
}
