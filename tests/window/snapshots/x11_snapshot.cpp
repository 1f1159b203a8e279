// Screenshots of editor windows on the X server in $DISPLAY, as PNG files.
//   x11_snapshot editor <folder> [2x]
//       opens the built druvo.so's editor in a host window and saves
//       x11-editor.png and, with its bus pop-up open, x11-editor-popup.png;
//       with 2x, on a server whose Xft.dpi is 192: x11-editor-2x.png ...
//   x11_snapshot grab <file.png> <x> <y> <width> <height>
//       saves that area of the screen (e.g. a wine program's window)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cairo.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "editor_host.h"
#include "tests/support/wait_until.h"
#include "tests/toolkit/native_window.h"
#include "toolkit/cairo/popup_list.h"

using namespace window_test;
using test_support::waitUntil;

namespace {

constexpr int kEditorX = 40;  // where createParent puts the host window
constexpr int kEditorY = 40;

// On a connection of its own, so any thread may take a picture.
bool grab(const std::string& path, int x, int y, int width, int height) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
    XCloseDisplay(display);
    if (!image) return false;
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int row = 0; row < height; ++row) {
        auto* out = reinterpret_cast<std::uint32_t*>(data + static_cast<std::ptrdiff_t>(row) * stride);
        for (int column = 0; column < width; ++column) {
            const unsigned long pixel = XGetPixel(image, column, row);
            // 24-bit TrueColor, as Xvfb's default screen is.
            out[column] = static_cast<std::uint32_t>(pixel & 0xFFFFFF);
        }
    }
    cairo_surface_mark_dirty(surface);
    const bool written = cairo_surface_write_to_png(surface, path.c_str()) == CAIRO_STATUS_SUCCESS;
    cairo_surface_destroy(surface);
    XDestroyImage(image);
    return written;
}

int snapshotEditor(const std::string& folder, int s) {
    const std::string suffix = s == 2 ? "-2x.png" : ".png";
    NativeWindows screen;
    EditorHost host;
    if (!screen.valid() || !host.ok()) {
        std::fprintf(stderr, "x11_snapshot: %s\n", screen.valid() ? host.error().c_str() : "no X display");
        return 1;
    }
    void* parent = screen.createParent(317 * s, 59 * s);
    host.openEditor(parent);
    const std::vector<void*> children = screen.children(parent);
    const auto idle = [&] {
        host.idle();
        screen.sync();
    };
    // Shown once the light is green: the host plays a bus.
    bool ok = !children.empty() &&
              waitUntil(
                  [&] {
                      return screen.pixel(children[0], 306 * s + s / 2, 9 * s + s / 2) ==
                             MX::toolkit::MakeCColor(0, 235, 1);
                  },
                  idle) &&
              grab(folder + "/x11-editor" + suffix, kEditorX, kEditorY, 317 * s, 59 * s);

    // The pop-up: a person clicks the menu, points at a row, the picture is
    // taken once that row is highlighted, Escape closes the list.
    bool popupTaken = false;
    std::thread person([&folder, &popupTaken, &suffix, s] {
        NativeWindows hand;
        void* popup = hand.waitForPopup();
        if (!popup) return;
        const int row = 1 + 3 * MX::toolkit::kPopupRowHeight;
        hand.move(popup, 40 * s, (row + 8) * s);
        popupTaken = waitUntil([&] {
                         return hand.pixel(popup, 2 * s, (row + 1) * s) == MX::toolkit::kPopupHighlightColour;
                     }) &&
                     grab(folder + "/x11-editor-popup" + suffix, kEditorX, kEditorY, 317 * s, (59 + 300) * s);
        hand.keys(popup, {Key::Escape});
    });
    if (!children.empty()) screen.click(children[0], (171 + 30) * s, 47 * s);
    waitUntil([] { return EditorHost::editCalls().size() >= 2; }, idle);
    person.join();
    host.closeEditor();
    return ok && popupTaken ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "editor" && (argc == 3 || argc == 4))
        return snapshotEditor(argv[2], argc == 4 && std::string(argv[3]) == "2x" ? 2 : 1);
    if (mode == "grab" && argc == 7) {
        return grab(argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]), std::atoi(argv[6]))
                   ? 0
                   : 1;
    }
    std::fprintf(stderr,
                 "usage: x11_snapshot editor <folder> [2x] | grab <file.png> <x> <y> <width> <height>\n");
    return 2;
}
