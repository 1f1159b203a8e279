// A Windows host for screenshots: opens the built druvo_x64.dll's editor in a
// window whose client area starts at screen point (40, 40), and with "popup"
// clicks the bus menu so the system pop-up opens; with "2x" it is a DPI-aware
// host on a 192 DPI display (the wine prefix's LogPixels) and expects the
// editor at twice its size. Prints "open" once the editor (and the pop-up)
// shows, then runs until its input ends, and closes.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <atomic>
#include <cstdio>
#include <cstring>
#include <thread>

#include "editor_host.h"
#include "tests/support/wait_until.h"
#include "tests/toolkit/native_window.h"

using namespace window_test;
using test_support::waitUntil;

int main(int argc, char** argv) {
    bool popup = false;
    int s = 1;
    for (int i = 1; i < argc; ++i) {
        popup |= std::strcmp(argv[i], "popup") == 0;
        if (std::strcmp(argv[i], "2x") == 0) s = 2;
    }
    if (s == 2) SetProcessDPIAware();
    NativeWindows desktop;
    EditorHost host;
    void* parent = desktop.createParent(317 * s, 59 * s);
    if (!host.ok() || !parent) {
        std::fprintf(stderr, "win32_window_host: %s\n", host.ok() ? "no window" : host.error().c_str());
        return 1;
    }
    host.openEditor(parent);
    const std::vector<void*> children = desktop.children(parent);
    const auto idle = [&] {
        host.idle();
        desktop.sync();
    };
    // Shown once the light is green: the host plays a bus.
    if (children.empty() || !waitUntil(
                                [&] {
                                    return desktop.pixel(children[0], 306 * s + s / 2, 9 * s + s / 2) ==
                                           MX::toolkit::MakeCColor(0, 235, 1);
                                },
                                idle)) {
        std::fprintf(stderr, "win32_window_host: the editor did not show\n");
        return 1;
    }

    std::atomic<bool> done{false};
    std::thread user([popup, &done] {
        NativeWindows hand;
        void* menu = popup ? hand.waitForPopup() : nullptr;
        // Drawn once its margin has the menu colour.
        const COLORREF face = GetSysColor(COLOR_MENU);
        const MX::toolkit::CColor faceColour{GetRValue(face), GetGValue(face), GetBValue(face), 255};
        if (menu) waitUntil([&] { return hand.pixel(menu, 4, 4) == faceColour; });
        std::printf(popup && !menu ? "no pop-up\n" : "open\n");
        std::fflush(stdout);
        while (std::getchar() != EOF) {
        }
        if (menu) hand.keys(menu, {Key::Escape});
        done = true;
    });
    if (popup) {
        desktop.move(children[0], 60 * s, 85 * s);
        desktop.click(children[0], (171 + 30) * s, 47 * s);
    }
    waitUntil([&] { return done.load(); }, idle, std::chrono::minutes(5));
    user.join();
    host.closeEditor();
    desktop.destroy(parent);
    return 0;
}
