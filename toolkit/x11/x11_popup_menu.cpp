#include "toolkit/x11/x11_popup_menu.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo-xlib.h>

#include <algorithm>
#include <chrono>
#include <thread>

#include "toolkit/cairo/popup_list.h"
#include "toolkit/offscreen/offscreen_surface.h"
#include "toolkit/x11/x11_error_trap.h"

namespace MX::toolkit {

namespace {

constexpr int kGrabAttempts = 20;
constexpr auto kGrabRetryDelay = std::chrono::milliseconds(10);

class PopupWindow {
public:
    PopupWindow(Display* display, Window owner, const PopupMenuRequest& request);
    ~PopupWindow();
    PopupWindow(const PopupWindow&) = delete;
    PopupWindow& operator=(const PopupWindow&) = delete;

    // False when the window could not be made or the pointer not grabbed.
    bool shown() const { return grabbed_; }
    int run(const std::function<void(XEvent&)>& forward);

private:
    void place(Window owner);
    bool grab();
    void highlight(int row);
    void draw();

    Display* display_;
    const PopupMenuRequest& request_;
    int count_;
    CRect size_;  // the list at (0, 0)
    CRect area_;  // where it is shown, in root coordinates
    Window window_ = 0;
    Screen* screen_ = nullptr;
    cairo_surface_t* surface_ = nullptr;
    bool grabbed_ = false;
    bool keyboard_ = false;
    int highlighted_ = -1;
};

PopupWindow::PopupWindow(Display* display, Window owner, const PopupMenuRequest& request)
    : display_(display), request_(request), count_(static_cast<int>(request.titles.size())) {
    if (count_ <= 0) return;
    X11ErrorTrap trap(display_);
    place(owner);
    if (trap.failed() || !screen_) return;

    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.save_under = True;
    attributes.background_pixmap = None;
    attributes.event_mask =
        ExposureMask | ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;
    window_ = XCreateWindow(display_, RootWindowOfScreen(screen_), area_.left, area_.top,
                            static_cast<unsigned>(area_.width()), static_cast<unsigned>(area_.height()), 0,
                            CopyFromParent, InputOutput, CopyFromParent,
                            CWOverrideRedirect | CWSaveUnder | CWBackPixmap | CWEventMask, &attributes);
    XMapRaised(display_, window_);
    if (trap.failed()) return;
    surface_ = cairo_xlib_surface_create(display_, window_, DefaultVisualOfScreen(screen_), area_.width(),
                                         area_.height());
    grabbed_ = grab();
    if (grabbed_) draw();
}

PopupWindow::~PopupWindow() {
    X11ErrorTrap trap(display_);
    if (keyboard_) XUngrabKeyboard(display_, CurrentTime);
    if (grabbed_) XUngrabPointer(display_, CurrentTime);
    if (surface_) cairo_surface_destroy(surface_);
    if (window_) XDestroyWindow(display_, window_);
    XFlush(display_);
}

// Below the anchor's left edge, or above it when the screen ends first; never off the screen's sides.
void PopupWindow::place(Window owner) {
    XWindowAttributes ownerAttributes;
    if (!XGetWindowAttributes(display_, owner, &ownerAttributes)) return;
    int x = 0;
    int y = 0;
    Window child = 0;
    if (!XTranslateCoordinates(display_, owner, ownerAttributes.root, request_.anchor.left,
                               request_.anchor.bottom, &x, &y, &child)) {
        return;
    }
    screen_ = ownerAttributes.screen;
    size_ = popupListSize(request_);
    const CCoord width = size_.width();
    const CCoord height = size_.height();
    if (y + height > HeightOfScreen(screen_)) y -= request_.anchor.height() + height;
    x = std::clamp(x, 0, std::max(0, WidthOfScreen(screen_) - width));
    y = std::max(y, 0);
    area_ = CRect(x, y, x + width, y + height);
}

// The opening click may still hold its implicit grab, or another client a
// grab of its own for a moment: try a few times before giving up.
bool PopupWindow::grab() {
    const unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    for (int attempt = 0; attempt < kGrabAttempts; ++attempt) {
        if (XGrabPointer(display_, window_, False, mask, GrabModeAsync, GrabModeAsync, None, None,
                         CurrentTime) == GrabSuccess) {
            keyboard_ = XGrabKeyboard(display_, window_, False, GrabModeAsync, GrabModeAsync, CurrentTime) ==
                        GrabSuccess;
            return true;
        }
        std::this_thread::sleep_for(kGrabRetryDelay);
    }
    return false;
}

void PopupWindow::highlight(int row) {
    if (row == highlighted_) return;
    highlighted_ = row;
    draw();
}

// Drawn in memory and copied, as the frame is: text comes out the same, and
// no glyphs are cached on the X server side for a connection that will close.
void PopupWindow::draw() {
    OffscreenSurface image(size_);
    if (!image.valid()) return;
    drawPopupList(image.context(), size_, request_, highlighted_);
    cairo_surface_flush(image.cairoSurface());
    cairo_t* cr = cairo_create(surface_);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, image.cairoSurface(), 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface_);
    XFlush(display_);
}

int PopupWindow::run(const std::function<void(XEvent&)>& forward) {
    for (;;) {
        XEvent event;
        XNextEvent(display_, &event);
        if (event.xany.window != window_) {
            if (forward) forward(event);
            continue;
        }
        switch (event.type) {
        case Expose:
            if (event.xexpose.count == 0) draw();
            break;
        case MotionNotify:
            highlight(popupListRowAt(request_, size_, CPoint(event.xmotion.x, event.xmotion.y)));
            break;
        case ButtonPress:
            if (event.xbutton.button > Button3) break;  // wheel
            if (const int row = popupListRowAt(request_, size_, CPoint(event.xbutton.x, event.xbutton.y)); row >= 0) {
                highlight(row);
                break;
            }
            return -1;
        case ButtonRelease:
            // The opening click's release lands on the menu face, outside the list: ignored.
            if (event.xbutton.button > Button3) break;
            if (const int row = popupListRowAt(request_, size_, CPoint(event.xbutton.x, event.xbutton.y)); row >= 0) {
                return row;
            }
            break;
        case KeyPress:
            switch (XLookupKeysym(&event.xkey, 0)) {
            case XK_Escape:
                return -1;
            case XK_Return:
            case XK_KP_Enter:
                if (highlighted_ >= 0) return highlighted_;
                break;
            case XK_Up:
                highlight(highlighted_ <= 0 ? count_ - 1 : highlighted_ - 1);
                break;
            case XK_Down:
                highlight(highlighted_ + 1 >= count_ ? 0 : highlighted_ + 1);
                break;
            default:
                break;
            }
            break;
        default:
            break;
        }
    }
}

}  // namespace

int runX11PopupMenu(Display* display, Window owner, const PopupMenuRequest& request,
                    const std::function<void(XEvent&)>& forward) {
    if (!display || !owner) return -1;
    PopupWindow popup(display, owner, request);
    return popup.shown() ? popup.run(forward) : -1;
}

}  // namespace MX::toolkit
