// A frame's surface on X11: a child window of the host's window on a display
// connection of its own. The frame draws into an image in memory (the same
// cairo drawing as offscreen) that is copied to the window after each redraw
// and on Expose. The host delivers no X events to a plug-in, so the frame's
// idle pumps the connection: Expose repaints, button presses go to the frame,
// and the events of an open pop-up list go to the list, which stays open
// across idle calls until the user picks or dismisses. A change of the
// server's Xft.dpi while the window is open reaches the frame as a new
// display scale. UI thread only.
#pragma once

#include <X11/Xlib.h>

#include <memory>

#include "toolkit/backend.h"
#include "toolkit/offscreen/offscreen_surface.h"
#include "toolkit/x11/x11_popup_menu.h"

typedef struct _cairo_surface cairo_surface_t;

namespace MX::toolkit {

class X11Frame final : public PlatformFrame {
public:
    // Opens its own connection to the default display and makes the window
    // inside `parent`. Null when the display does not open or `parent` is not
    // a window on it.
    static std::unique_ptr<X11Frame> create(CFrame& frame, Window parent);
    // Takes an open pop-up list down (its callback gets -1), then the window.
    ~X11Frame() override;
    X11Frame(const X11Frame&) = delete;
    X11Frame& operator=(const X11Frame&) = delete;

    CDrawContext* beginDraw() override;
    void endDraw() override;
    // Shows the list and returns; one list at a time.
    void popupMenu(const PopupMenuRequest& request, PopupMenuDone done) override;
    bool processEvents() override;
    // A new image at the frame's scale, the window resized to it.
    void scaleChanged() override;

    Window window() const { return window_; }

private:
    X11Frame(CFrame& frame, Display* display);
    bool open(Window parent);
    void handle(XEvent& event);
    // Closes the list on an outcome other than X11PopupMenu::kStillOpen and
    // reports it; the callback may destroy this frame.
    void finishPopup(int outcome);
    // Paints `area` of the frame into the image and shows it.
    void repaint(const CRect& area);
    // Copies `area` (frame pixels) of the image to the window.
    void show(const CRect& area);
    double scale() const;

    CFrame& frame_;
    Display* display_;
    Window window_ = 0;
    std::unique_ptr<OffscreenSurface> image_;
    cairo_surface_t* windowSurface_ = nullptr;
    CRect exposed_;
    bool windowGone_ = false;
    bool handlingEvents_ = false;
    std::unique_ptr<X11PopupMenu> popup_;
    PopupMenuDone popupDone_;
    // Set while processEvents() runs; the destructor marks it.
    bool* destroyed_ = nullptr;
};

}  // namespace MX::toolkit
