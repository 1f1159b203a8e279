// The host's side of an X11 editor test: a display connection of the test's
// own, parent windows like a host's plug-in window, pixels read back from the
// server, and clicks and keys sent through XTest as a user's would arrive.
#pragma once

#include <X11/Xlib.h>

#include <vector>

#include "toolkit/color.h"
#include "toolkit/geometry.h"

namespace window_test {

class X11TestDisplay {
public:
    // Connects to $DISPLAY; valid() tells whether that worked.
    X11TestDisplay();
    ~X11TestDisplay();
    X11TestDisplay(const X11TestDisplay&) = delete;
    X11TestDisplay& operator=(const X11TestDisplay&) = delete;

    bool valid() const { return display_ != nullptr; }
    Display* display() const { return display_; }
    Window root() const;

    // A mapped top-level window at (x, y) of the screen, as a host's editor window.
    Window createParent(int width, int height, int x = 40, int y = 40);
    void destroy(Window window);
    // A plain window of one colour, mapped over (x, y) of `parent`.
    Window createCover(Window parent, int x, int y, int width, int height, unsigned long pixel);

    std::vector<Window> children(Window window);
    // Colour at (x, y) of `window` as the server holds it; black outside.
    MX::toolkit::CColor pixel(Window window, int x, int y);
    // Top-left corner of `window` in root coordinates.
    MX::toolkit::CPoint rootPosition(Window window);

    void move(Window window, int x, int y);
    // Moves the pointer to (x, y) of `window` and clicks `button` there.
    void click(Window window, int x, int y, unsigned button = Button1);
    void key(unsigned long keysym);
    // The first viewable override-redirect top-level window to appear within
    // `milliseconds`, or 0.
    Window waitForPopup(int milliseconds);
    // Client connections the server holds now (X-Resource extension); -1 without it.
    int serverClients();

private:
    Display* display_;
};

// Open file descriptors of this process.
int openFileDescriptors();

}  // namespace window_test
