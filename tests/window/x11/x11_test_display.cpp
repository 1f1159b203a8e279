#include "x11_test_display.h"

#include <X11/Xutil.h>
#include <X11/extensions/XRes.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace window_test {

using MX::toolkit::CColor;
using MX::toolkit::CPoint;

namespace {

std::uint8_t channel(unsigned long pixel, unsigned long mask) {
    if (mask == 0) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    const unsigned long max = mask >> shift;
    return static_cast<std::uint8_t>(((pixel & mask) >> shift) * 255 / max);
}

}  // namespace

X11TestDisplay::X11TestDisplay() : display_(XOpenDisplay(nullptr)) {}

X11TestDisplay::~X11TestDisplay() {
    if (display_) XCloseDisplay(display_);
}

Window X11TestDisplay::root() const { return DefaultRootWindow(display_); }

Window X11TestDisplay::createParent(int width, int height, int x, int y) {
    const int screen = DefaultScreen(display_);
    Window window = XCreateSimpleWindow(display_, root(), x, y, static_cast<unsigned>(width),
                                        static_cast<unsigned>(height), 0, BlackPixel(display_, screen),
                                        WhitePixel(display_, screen));
    XMapWindow(display_, window);
    XSync(display_, False);
    return window;
}

void X11TestDisplay::destroy(Window window) {
    XDestroyWindow(display_, window);
    XSync(display_, False);
}

Window X11TestDisplay::createCover(Window parent, int x, int y, int width, int height, unsigned long pixel) {
    Window window = XCreateSimpleWindow(display_, parent, x, y, static_cast<unsigned>(width),
                                        static_cast<unsigned>(height), 0, pixel, pixel);
    XMapRaised(display_, window);
    XSync(display_, False);
    return window;
}

std::vector<Window> X11TestDisplay::children(Window window) {
    Window rootReturn = 0;
    Window parentReturn = 0;
    Window* list = nullptr;
    unsigned count = 0;
    std::vector<Window> result;
    if (XQueryTree(display_, window, &rootReturn, &parentReturn, &list, &count)) result.assign(list, list + count);
    if (list) XFree(list);
    return result;
}

CColor X11TestDisplay::pixel(Window window, int x, int y) {
    XImage* image = XGetImage(display_, window, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return CColor{};
    const unsigned long value = XGetPixel(image, 0, 0);
    const CColor colour{channel(value, image->red_mask), channel(value, image->green_mask),
                        channel(value, image->blue_mask), 255};
    XDestroyImage(image);
    return colour;
}

CPoint X11TestDisplay::rootPosition(Window window) {
    int x = 0;
    int y = 0;
    Window child = 0;
    XTranslateCoordinates(display_, window, root(), 0, 0, &x, &y, &child);
    return CPoint(x, y);
}

void X11TestDisplay::move(Window window, int x, int y) {
    const CPoint origin = rootPosition(window);
    XTestFakeMotionEvent(display_, DefaultScreen(display_), origin.x + x, origin.y + y, CurrentTime);
    XSync(display_, False);
}

void X11TestDisplay::click(Window window, int x, int y, unsigned button) {
    move(window, x, y);
    XTestFakeButtonEvent(display_, button, True, CurrentTime);
    XTestFakeButtonEvent(display_, button, False, CurrentTime);
    XSync(display_, False);
}

void X11TestDisplay::key(unsigned long keysym) {
    const KeyCode code = XKeysymToKeycode(display_, keysym);
    XTestFakeKeyEvent(display_, code, True, CurrentTime);
    XTestFakeKeyEvent(display_, code, False, CurrentTime);
    XSync(display_, False);
}

Window X11TestDisplay::waitForPopup(int milliseconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    do {
        for (Window window : children(root())) {
            XWindowAttributes attributes;
            if (XGetWindowAttributes(display_, window, &attributes) && attributes.override_redirect &&
                attributes.map_state == IsViewable) {
                return window;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    } while (std::chrono::steady_clock::now() < end);
    return 0;
}

int X11TestDisplay::serverClients() {
    int eventBase = 0;
    int errorBase = 0;
    if (!XResQueryExtension(display_, &eventBase, &errorBase)) return -1;
    int count = 0;
    XResClient* clients = nullptr;
    if (!XResQueryClients(display_, &count, &clients)) return -1;  // a Status: non-zero on success
    XFree(clients);
    return count;
}

int openFileDescriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
    return count;
}

}  // namespace window_test
