#include "toolkit/x11/x11_popup_menu.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <cairo-xlib.h>

#include <algorithm>

#include "toolkit/cairo/popup_list.h"
#include "toolkit/display_scale.h"
#include "toolkit/offscreen/offscreen_surface.h"
#include "toolkit/x11/x11_error_trap.h"

namespace MX::toolkit {

namespace {
constexpr int kGrabAttempts = 20;
}  // namespace

std::unique_ptr<X11PopupMenu> X11PopupMenu::show(Display* display, Window owner,
                                                 const PopupMenuRequest& request, double scale) {
    if (!display || !owner || request.titles.empty()) return nullptr;
    std::unique_ptr<X11PopupMenu> popup(new X11PopupMenu(display, request, scale));
    if (!popup->open(owner)) return nullptr;
    return popup;
}

X11PopupMenu::X11PopupMenu(Display* display, const PopupMenuRequest& request, double scale)
    : display_(display), request_(request), count_(static_cast<int>(request.titles.size())), scale_(scale) {}

X11PopupMenu::~X11PopupMenu() {
    X11ErrorTrap trap(display_);
    if (keyboard_) XUngrabKeyboard(display_, CurrentTime);
    if (grabbed_) XUngrabPointer(display_, CurrentTime);
    if (window_) XDestroyWindow(display_, window_);
    if (surface_) cairo_surface_destroy(surface_);
    if (image_) XFreePixmap(display_, image_);
    XFlush(display_);
}

// The list is drawn into a pixmap that is the window's background, so the
// server shows it from the moment the window maps and repaints exposed parts
// itself, however long the host takes to idle again.
bool X11PopupMenu::open(Window owner) {
    X11ErrorTrap trap(display_);
    if (!place(owner) || trap.failed()) return false;
    const Window root = RootWindowOfScreen(screen_);
    const auto width = static_cast<unsigned>(area_.width());
    const auto height = static_cast<unsigned>(area_.height());
    image_ =
        XCreatePixmap(display_, root, width, height, static_cast<unsigned>(DefaultDepthOfScreen(screen_)));
    if (trap.failed()) {
        image_ = 0;
        return false;
    }
    surface_ = cairo_xlib_surface_create(display_, image_, DefaultVisualOfScreen(screen_), area_.width(),
                                         area_.height());
    draw();

    XSetWindowAttributes attributes{};
    attributes.override_redirect = True;
    attributes.save_under = True;
    attributes.background_pixmap = image_;
    attributes.event_mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask | KeyPressMask;
    window_ = XCreateWindow(display_, root, area_.left, area_.top, width, height, 0, CopyFromParent,
                            InputOutput, CopyFromParent,
                            CWOverrideRedirect | CWSaveUnder | CWBackPixmap | CWEventMask, &attributes);
    XMapRaised(display_, window_);
    if (trap.failed()) return false;
    tryGrab();
    return true;
}

// Below the anchor's left edge, or above it when the screen ends first; never off the screen's sides.
bool X11PopupMenu::place(Window owner) {
    XWindowAttributes ownerAttributes;
    if (!XGetWindowAttributes(display_, owner, &ownerAttributes)) return false;
    int x = 0;
    int y = 0;
    Window child = 0;
    const CRect anchor = toDevice(request_.anchor, scale_);
    if (!XTranslateCoordinates(display_, owner, ownerAttributes.root, anchor.left, anchor.bottom, &x, &y,
                               &child)) {
        return false;
    }
    screen_ = ownerAttributes.screen;
    size_ = popupListSize(request_, scale_);
    const CRect device = toDevice(size_, scale_);
    const CCoord width = device.width();
    const CCoord height = device.height();
    if (y + height > HeightOfScreen(screen_)) y -= anchor.height() + height;
    x = std::clamp(x, 0, std::max(0, WidthOfScreen(screen_) - width));
    y = std::max(y, 0);
    area_ = CRect(x, y, x + width, y + height);
    return screen_ != nullptr;
}

// The opening click's implicit grab is this connection's own, so the first
// attempt normally succeeds; another client's grab may last a moment.
bool X11PopupMenu::tryGrab() {
    ++grabAttempts_;
    const unsigned mask = ButtonPressMask | ButtonReleaseMask | PointerMotionMask;
    grabbed_ = XGrabPointer(display_, window_, False, mask, GrabModeAsync, GrabModeAsync, None, None,
                            CurrentTime) == GrabSuccess;
    if (grabbed_) {
        keyboard_ =
            XGrabKeyboard(display_, window_, False, GrabModeAsync, GrabModeAsync, CurrentTime) == GrabSuccess;
    }
    return grabbed_;
}

int X11PopupMenu::poll() {
    if (grabbed_ || tryGrab()) return kStillOpen;
    return grabAttempts_ < kGrabAttempts ? kStillOpen : -1;
}

void X11PopupMenu::highlight(int row) {
    if (row == highlighted_) return;
    highlighted_ = row;
    draw();
}

// Drawn in memory and copied, as the frame is: text comes out the same, and
// no glyphs are cached on the X server side for a connection that will close.
void X11PopupMenu::draw() {
    OffscreenSurface image(size_, scale_);
    if (!image.valid()) return;
    drawPopupList(image.context(), size_, request_, highlighted_);
    cairo_surface_flush(image.cairoSurface());
    cairo_t* cr = cairo_create(surface_);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, image.cairoSurface(), 0, 0);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_flush(surface_);
    if (window_) XClearWindow(display_, window_);
    XFlush(display_);
}

int X11PopupMenu::rowAt(int x, int y) const {
    return popupListRowAt(request_, size_, CPoint(fromDevice(x, scale_), fromDevice(y, scale_)));
}

int X11PopupMenu::handle(const XEvent& event) {
    switch (event.type) {
        case MotionNotify:
            highlight(rowAt(event.xmotion.x, event.xmotion.y));
            break;
        case ButtonPress:
            if (event.xbutton.button > Button3) break;  // wheel
            if (const int row = rowAt(event.xbutton.x, event.xbutton.y); row >= 0) {
                highlight(row);
                break;
            }
            return -1;
        case ButtonRelease:
            // The opening click's release lands on the menu face, outside the list: ignored.
            if (event.xbutton.button > Button3) break;
            if (const int row = rowAt(event.xbutton.x, event.xbutton.y); row >= 0) return row;
            break;
        case KeyPress: {
            XKeyEvent key = event.xkey;
            switch (XLookupKeysym(&key, 0)) {
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
        }
        default:
            break;
    }
    return kStillOpen;
}

}  // namespace MX::toolkit
