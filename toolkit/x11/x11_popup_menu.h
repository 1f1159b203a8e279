// The option menu's pop-up on X11: an override-redirect window below the
// menu listing the item titles in the menu face's font and colours. It grabs
// the pointer and the keyboard and stays open across the frame's idle calls:
// the frame hands it the events of its window as they come, and it answers
// once the user picks an item (button release over it, or Return on the
// highlighted one) or dismisses the list (a press outside, or Escape). It
// never waits for the user. UI thread only, on the frame's display connection.
#pragma once

#include <X11/Xlib.h>

#include <memory>

#include "toolkit/backend.h"

typedef struct _cairo_surface cairo_surface_t;

namespace MX::toolkit {

class X11PopupMenu {
public:
    // What handle() and poll() answer while the list stays open; otherwise
    // the chosen row, or -1 when the list is dismissed.
    static constexpr int kStillOpen = -2;

    // Shows the list for `request` below its anchor in `owner` (the frame's
    // window, `scale` device pixels per frame pixel), drawn at that scale.
    // Null when it cannot be shown.
    static std::unique_ptr<X11PopupMenu> show(Display* display, Window owner, const PopupMenuRequest& request,
                                              double scale = 1.0);
    // Lets go of the grabs and takes the window down.
    ~X11PopupMenu();
    X11PopupMenu(const X11PopupMenu&) = delete;
    X11PopupMenu& operator=(const X11PopupMenu&) = delete;

    Window window() const { return window_; }
    // One event of window(): a highlight, or the outcome.
    int handle(const XEvent& event);
    // Between events: a grab that another client held at first is tried
    // again, a few times, before the list counts as dismissed.
    int poll();

private:
    X11PopupMenu(Display* display, const PopupMenuRequest& request, double scale);
    bool open(Window owner);
    bool place(Window owner);
    bool tryGrab();
    void highlight(int row);
    void draw();
    int rowAt(int x, int y) const;

    Display* display_;
    PopupMenuRequest request_;  // a copy: the menu's titles may change while the list is open
    int count_;
    double scale_;
    CRect size_;  // the list at (0, 0), frame pixels
    CRect area_;  // where it is shown, in root coordinates (device pixels)
    Window window_ = 0;
    Screen* screen_ = nullptr;
    Pixmap image_ = 0;                    // the drawn list, the window's background
    cairo_surface_t* surface_ = nullptr;  // draws into image_
    int grabAttempts_ = 0;
    bool grabbed_ = false;
    bool keyboard_ = false;
    int highlighted_ = -1;
};

}  // namespace MX::toolkit
