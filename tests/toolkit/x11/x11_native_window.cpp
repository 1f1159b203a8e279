#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>

#include <filesystem>

#include "tests/toolkit/native_window.h"
#include "toolkit/cairo/popup_list.h"

namespace window_test {

using MX::toolkit::CColor;
using MX::toolkit::CPoint;
using MX::toolkit::CRect;

namespace {

Window id(void* window) { return reinterpret_cast<Window>(window); }
void* handle(Window window) { return reinterpret_cast<void*>(window); }
Display* display(void* connection) { return static_cast<Display*>(connection); }
unsigned xButton(Button button) { return button == Button::Left ? Button1 : Button3; }

std::uint8_t channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255 / (mask >> shift));
}

}  // namespace

NativeWindows::NativeWindows() : connection_(XOpenDisplay(nullptr)) {}

NativeWindows::~NativeWindows() {
    if (connection_) XCloseDisplay(display(connection_));
}

bool NativeWindows::valid() const { return connection_ != nullptr; }

void* NativeWindows::createParent(int width, int height) {
    const int screen = DefaultScreen(display(connection_));
    const Window window = XCreateSimpleWindow(
        display(connection_), DefaultRootWindow(display(connection_)), 40, 40, static_cast<unsigned>(width),
        static_cast<unsigned>(height), 0, BlackPixel(display(connection_), screen),
        WhitePixel(display(connection_), screen));
    XMapWindow(display(connection_), window);
    XSync(display(connection_), False);
    return handle(window);
}

void NativeWindows::destroy(void* window) {
    XDestroyWindow(display(connection_), id(window));
    XSync(display(connection_), False);
}

std::vector<void*> NativeWindows::children(void* window) {
    Window root = 0;
    Window parent = 0;
    Window* list = nullptr;
    unsigned count = 0;
    std::vector<void*> result;
    if (XQueryTree(display(connection_), id(window), &root, &parent, &list, &count)) {
        for (unsigned i = 0; i < count; ++i) result.push_back(handle(list[i]));
    }
    if (list) XFree(list);
    return result;
}

CColor NativeWindows::pixel(void* window, int x, int y) {
    XImage* image = XGetImage(display(connection_), id(window), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return CColor{};
    const unsigned long value = XGetPixel(image, 0, 0);
    const CColor colour{channel(value, image->red_mask), channel(value, image->green_mask),
                        channel(value, image->blue_mask), 255};
    XDestroyImage(image);
    return colour;
}

CPoint NativeWindows::screenPosition(void* window) {
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display(connection_), id(window), DefaultRootWindow(display(connection_)), 0, 0, &x,
                          &y, &child);
    return CPoint(x, y);
}

void NativeWindows::sync() { XSync(display(connection_), False); }

void NativeWindows::move(void* window, int x, int y) {
    const CPoint origin = screenPosition(window);
    XTestFakeMotionEvent(display(connection_), DefaultScreen(display(connection_)), origin.x + x,
                         origin.y + y, CurrentTime);
    XSync(display(connection_), False);
}

void NativeWindows::click(void* window, int x, int y, Button button) {
    press(window, x, y, button);
    release(window, x, y, button);
}

void NativeWindows::press(void* window, int x, int y, Button button) {
    move(window, x, y);
    XTestFakeButtonEvent(display(connection_), xButton(button), True, CurrentTime);
    XSync(display(connection_), False);
}

// Where the press left the pointer.
void NativeWindows::release(void*, int, int, Button button) {
    XTestFakeButtonEvent(display(connection_), xButton(button), False, CurrentTime);
    XSync(display(connection_), False);
}

void NativeWindows::damage(void* window, const CRect& area) {
    const Window cover = XCreateSimpleWindow(display(connection_), id(window), area.left, area.top,
                                             static_cast<unsigned>(area.width()),
                                             static_cast<unsigned>(area.height()), 0, 0xFF00FF, 0xFF00FF);
    XMapRaised(display(connection_), cover);
    XDestroyWindow(display(connection_), cover);
    XSync(display(connection_), False);
}

// Shown: viewable and drawn, which the list is only once it holds the grabs.
void* NativeWindows::popup() {
    for (void* window : children(handle(DefaultRootWindow(display(connection_))))) {
        XWindowAttributes attributes;
        if (XGetWindowAttributes(display(connection_), id(window), &attributes) &&
            attributes.override_redirect && attributes.map_state == IsViewable &&
            pixel(window, 0, 0) == MX::toolkit::kPopupEdgeColour) {
            return window;
        }
    }
    return nullptr;
}

// Rows start below the list's one-pixel edge.
void NativeWindows::clickRow(void* list, int row, double scale) {
    const int y = 1 + row * MX::toolkit::kPopupRowHeight + MX::toolkit::kPopupRowHeight / 2;
    click(list, static_cast<int>(2 * MX::toolkit::kPopupTextInset * scale), static_cast<int>(y * scale));
}

// The list holds the keyboard grab: keys go to it wherever the pointer is.
void NativeWindows::keys(void*, std::initializer_list<Key> keys) {
    for (const Key key : keys) {
        const KeySym symbol = key == Key::Up       ? XK_Up
                              : key == Key::Down   ? XK_Down
                              : key == Key::Return ? XK_Return
                                                   : XK_Escape;
        const KeyCode code = XKeysymToKeycode(display(connection_), symbol);
        XTestFakeKeyEvent(display(connection_), code, True, CurrentTime);
        XTestFakeKeyEvent(display(connection_), code, False, CurrentTime);
    }
    XSync(display(connection_), False);
}

std::vector<long> NativeWindows::resourcesInUse() {
    long descriptors = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd"))
        ++descriptors;
    int eventBase = 0;
    int errorBase = 0;
    int clients = -1;
    XResClient* list = nullptr;
    if (XResQueryExtension(display(connection_), &eventBase, &errorBase) &&
        XResQueryClients(display(connection_), &clients, &list)) {
        XFree(list);
    }
    return {descriptors, clients};
}

bool NativeWindows::frameClassRegistered() { return false; }

}  // namespace window_test
