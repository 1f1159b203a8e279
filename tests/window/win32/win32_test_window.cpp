#include "win32_test_window.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <thread>

namespace window_test {

using MX::toolkit::CColor;

namespace {

constexpr char kParentClass[] = "DruvoTestHostWindow";

LRESULT CALLBACK parentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

BOOL CALLBACK collectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(child);
    return TRUE;
}

}  // namespace

HWND createParentWindow(int width, int height) {
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = parentProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = kParentClass;
        return RegisterClassA(&windowClass) != 0;
    }();
    if (!registered) return nullptr;
    RECT frame{0, 0, width, height};
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
    AdjustWindowRect(&frame, style, FALSE);
    HWND window = CreateWindowExA(0, kParentClass, "Druvo test host", style, 40, 40, frame.right - frame.left,
                                  frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}

void pumpMessages(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    } while (std::chrono::steady_clock::now() < end);
}

std::vector<HWND> childWindows(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(parent, collectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

CColor windowPixel(HWND window, int x, int y) {
    HDC dc = GetDC(window);
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return CColor{GetRValue(pixel), GetGValue(pixel), GetBValue(pixel), 255};
}

void postClick(HWND window, int x, int y) {
    PostMessageA(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    PostMessageA(window, WM_LBUTTONUP, 0, MAKELPARAM(x, y));
}

HWND waitForPopupMenu(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        HWND menu = FindWindowA("#32768", nullptr);
        if (menu && IsWindowVisible(menu)) return menu;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < end);
    return nullptr;
}

void postKeys(HWND menu, const std::vector<int>& keys) {
    for (int key : keys) {
        PostMessageA(menu, WM_KEYDOWN, static_cast<WPARAM>(key), 1);
        PostMessageA(menu, WM_KEYUP, static_cast<WPARAM>(key), 1 | (3u << 30));
    }
}

namespace {

// Wine hands out freed handle slots first and fresh ones after them, so among
// more new objects than there can be free slots, the highest slot sits as far
// above the batch's size as there are objects in use.
template <typename Create, typename Destroy>
long highestFreshSlot(Create create, Destroy destroy) {
    constexpr int kBatch = 3000;
    std::vector<decltype(create())> batch;
    batch.reserve(kBatch);
    long highest = 0;
    for (int i = 0; i < kBatch; ++i) {
        batch.push_back(create());
        highest = std::max(highest, static_cast<long>(reinterpret_cast<std::uintptr_t>(batch.back()) & 0xFFFF));
    }
    for (auto object : batch) destroy(object);
    return highest;
}

}  // namespace

long gdiObjectsInUse() {
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)) return static_cast<long>(count);
    return highestFreshSlot([] { return CreateSolidBrush(RGB(1, 2, 3)); }, [](HBRUSH b) { DeleteObject(b); });
}

long userObjectsInUse() {
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)) return static_cast<long>(count);
    return highestFreshSlot([] { return CreatePopupMenu(); }, [](HMENU m) { DestroyMenu(m); });
}

}  // namespace window_test
