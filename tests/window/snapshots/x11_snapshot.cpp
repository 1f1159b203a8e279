// Screenshots of editor windows on the X server in $DISPLAY, as PNG files.
//   x11_snapshot editor <folder>
//       opens the built druvo.so's editor in a host window and saves
//       x11-editor.png and, with its bus pop-up open, x11-editor-popup.png
//   x11_snapshot grab <file.png> <x> <y> <width> <height>
//       saves that area of the screen (e.g. a wine program's window)
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "editor_host.h"
#include "x11_test_display.h"

using window_test::EditorHost;
using window_test::X11TestDisplay;

namespace {

constexpr int kEditorX = 40;
constexpr int kEditorY = 40;

bool grab(Display* display, const std::string& path, int x, int y, int width, int height) {
    XImage* image = XGetImage(display, DefaultRootWindow(display), x, y, static_cast<unsigned>(width),
                              static_cast<unsigned>(height), AllPlanes, ZPixmap);
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

int snapshotEditor(const std::string& folder) {
    X11TestDisplay screen;
    EditorHost host;
    if (!screen.valid() || !host.ok()) {
        std::fprintf(stderr, "x11_snapshot: %s\n", screen.valid() ? host.error().c_str() : "no X display");
        return 1;
    }
    const Window parent = screen.createParent(317, 59, kEditorX, kEditorY);
    host.openEditor(reinterpret_cast<void*>(parent));
    for (int i = 0; i < 5; ++i) {
        host.idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    XSync(screen.display(), False);
    bool ok = grab(screen.display(), folder + "/x11-editor.png", kEditorX, kEditorY, 317, 59);

    // The pop-up: a person clicks the menu, the picture is taken while it is open, Escape closes it.
    std::thread person([&folder, &ok] {
        X11TestDisplay hand;
        const Window popup = hand.waitForPopup(5000);
        if (!popup) {
            ok = false;
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        hand.move(popup, 40, 1 + 3 * 16 + 8);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ok = grab(hand.display(), folder + "/x11-editor-popup.png", kEditorX, kEditorY, 317, 59 + 300) && ok;
        hand.key(XK_Escape);
    });
    const std::vector<Window> children = screen.children(parent);
    if (!children.empty()) screen.click(children[0], 171 + 30, 47);
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(6);
    while (EditorHost::editCalls().size() < 2 && std::chrono::steady_clock::now() < end) {
        host.idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    person.join();
    host.closeEditor();
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "editor" && argc == 3) return snapshotEditor(argv[2]);
    if (mode == "grab" && argc == 7) {
        Display* display = XOpenDisplay(nullptr);
        if (!display) return 1;
        const bool ok = grab(display, argv[2], std::atoi(argv[3]), std::atoi(argv[4]), std::atoi(argv[5]),
                             std::atoi(argv[6]));
        XCloseDisplay(display);
        return ok ? 0 : 1;
    }
    std::fprintf(stderr, "usage: x11_snapshot editor <folder> | grab <file.png> <x> <y> <width> <height>\n");
    return 2;
}
