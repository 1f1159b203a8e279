#include "toolkit/win32/window_dpi.h"

namespace MX::toolkit {

namespace {

using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);

GetDpiForWindowFunction getDpiForWindow() noexcept {
    HMODULE user = GetModuleHandleA("user32.dll");
    return user ? reinterpret_cast<GetDpiForWindowFunction>(
                      reinterpret_cast<void*>(GetProcAddress(user, "GetDpiForWindow")))
                : nullptr;
}

}  // namespace

unsigned windowDpi(HWND window) noexcept {
    if (window) {
        if (GetDpiForWindowFunction function = getDpiForWindow()) {
            if (const UINT dpi = function(window)) return dpi;
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? static_cast<unsigned>(dpi) : 96u;
}

}  // namespace MX::toolkit
