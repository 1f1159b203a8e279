#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <algorithm>

#include "tests/toolkit/native_window.h"

namespace window_test {

using MX::toolkit::CColor;
using MX::toolkit::CPoint;
using MX::toolkit::CRect;

namespace {

HWND hwnd(void* window) { return static_cast<HWND>(window); }

LRESULT CALLBACK parentProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

BOOL CALLBACK collectChild(HWND child, LPARAM list) {
    reinterpret_cast<std::vector<void*>*>(list)->push_back(child);
    return TRUE;
}

// Wine hands out freed handle slots first and fresh ones after them, so among
// more new objects than there can be free slots, the highest slot sits as far
// above the batch's size as there are objects in use.
template <typename Create, typename Destroy>
long highestFreshSlot(Create create, Destroy destroy) {
    constexpr int kBatch = 3000;
    std::vector<decltype(create())> batch;
    long highest = 0;
    for (int i = 0; i < kBatch; ++i) {
        batch.push_back(create());
        highest =
            std::max(highest, static_cast<long>(reinterpret_cast<std::uintptr_t>(batch.back()) & 0xFFFF));
    }
    for (auto object : batch) destroy(object);
    return highest;
}

// GetGuiResources where the system counts; wine answers 0 there.
long objectsInUse(DWORD kind) {
    if (const DWORD count = GetGuiResources(GetCurrentProcess(), kind)) return static_cast<long>(count);
    if (kind == GR_GDIOBJECTS) {
        return highestFreshSlot([] { return CreateSolidBrush(RGB(1, 2, 3)); },
                                [](HBRUSH b) { DeleteObject(b); });
    }
    return highestFreshSlot([] { return CreatePopupMenu(); }, [](HMENU m) { DestroyMenu(m); });
}

}  // namespace

NativeWindows::NativeWindows() : connection_(nullptr) {}
NativeWindows::~NativeWindows() = default;

bool NativeWindows::valid() const { return true; }

void* NativeWindows::createParent(int width, int height) {
    static const bool registered = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = parentProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = "DruvoTestHostWindow";
        return RegisterClassA(&windowClass) != 0;
    }();
    if (!registered) return nullptr;
    const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
    RECT frame{40, 40, 40 + width, 40 + height};
    AdjustWindowRect(&frame, style, FALSE);
    HWND window = CreateWindowExA(0, "DruvoTestHostWindow", "Druvo test host", style, frame.left, frame.top,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    return window;
}

void NativeWindows::destroy(void* window) { DestroyWindow(hwnd(window)); }

std::vector<void*> NativeWindows::children(void* window) {
    std::vector<void*> children;
    EnumChildWindows(hwnd(window), collectChild, reinterpret_cast<LPARAM>(&children));
    return children;
}

CColor NativeWindows::pixel(void* window, int x, int y) {
    HDC dc = GetDC(hwnd(window));
    const COLORREF pixel = GetPixel(dc, x, y);
    ReleaseDC(hwnd(window), dc);
    return CColor{GetRValue(pixel), GetGValue(pixel), GetBValue(pixel), 255};
}

CPoint NativeWindows::screenPosition(void* window) {
    RECT area{};
    GetWindowRect(hwnd(window), &area);
    return CPoint(area.left, area.top);
}

void NativeWindows::sync() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void NativeWindows::move(void* window, int x, int y) {
    PostMessageA(hwnd(window), WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
}

void NativeWindows::click(void* window, int x, int y, Button button) {
    press(window, x, y, button);
    release(window, x, y, button);
}

void NativeWindows::press(void* window, int x, int y, Button button) {
    const bool left = button == Button::Left;
    PostMessageA(hwnd(window), left ? WM_LBUTTONDOWN : WM_RBUTTONDOWN, left ? MK_LBUTTON : MK_RBUTTON,
                 MAKELPARAM(x, y));
}

void NativeWindows::release(void* window, int x, int y, Button button) {
    PostMessageA(hwnd(window), button == Button::Left ? WM_LBUTTONUP : WM_RBUTTONUP, 0, MAKELPARAM(x, y));
}

void NativeWindows::damage(void* window, const CRect& area) {
    const RECT rect{area.left, area.top, area.right, area.bottom};
    HDC dc = GetDC(hwnd(window));
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    ReleaseDC(hwnd(window), dc);
    InvalidateRect(hwnd(window), &rect, FALSE);
}

void* NativeWindows::popup() {
    HWND menu = FindWindowA("#32768", nullptr);
    return menu && IsWindowVisible(menu) ? menu : nullptr;
}

void NativeWindows::keys(void* list, std::initializer_list<Key> keys) {
    for (const Key key : keys) {
        const WPARAM code = key == Key::Up       ? VK_UP
                            : key == Key::Down   ? VK_DOWN
                            : key == Key::Return ? VK_RETURN
                                                 : VK_ESCAPE;
        PostMessageA(hwnd(list), WM_KEYDOWN, code, 1);
        PostMessageA(hwnd(list), WM_KEYUP, code, 1 | (3u << 30));
    }
}

// The menu's loop reads a mouse message's position from its lParam, in screen coordinates.
void NativeWindows::clickRow(void* list, int row, double) {
    auto* menu = reinterpret_cast<HMENU>(SendMessageA(hwnd(list), MN_GETHMENU, 0, 0));
    RECT item{};
    if (!menu || !GetMenuItemRect(nullptr, menu, static_cast<UINT>(row), &item)) return;
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    PostMessageA(hwnd(list), WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(hwnd(list), WM_LBUTTONUP, 0, at);
}

std::vector<long> NativeWindows::resourcesInUse() {
    return {objectsInUse(GR_GDIOBJECTS), objectsInUse(GR_USEROBJECTS)};
}

bool NativeWindows::frameClassRegistered() {
    WNDCLASSEXA info{};
    info.cbSize = sizeof info;
    return GetClassInfoExA(GetModuleHandleA(nullptr), "DruvoFrameWindow", &info) != 0;
}

}  // namespace window_test
