#include "toolkit/x11/x11_frame.h"

#include <X11/Xatom.h>
#include <cairo-xlib.h>

#include <utility>

#include "toolkit/display_scale.h"
#include "toolkit/draw_context.h"
#include "toolkit/frame.h"
#include "toolkit/x11/x11_display_scale.h"
#include "toolkit/x11/x11_error_trap.h"

namespace MX::toolkit {

namespace {

CButtonState buttonsOf(const XButtonEvent& event) {
    CButtonState buttons = 0;
    if (event.button == Button1) buttons |= kLButton;
    if (event.button == Button2) buttons |= kMButton;
    if (event.button == Button3) buttons |= kRButton;
    if (event.state & ShiftMask) buttons |= kShift;
    if (event.state & ControlMask) buttons |= kControl;
    if (event.state & Mod1Mask) buttons |= kAlt;
    return buttons;
}

CRect unite(const CRect& a, const CRect& b) {
    if (a.isEmpty()) return b;
    if (b.isEmpty()) return a;
    return CRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
                 std::max(a.bottom, b.bottom));
}

}  // namespace

std::unique_ptr<X11Frame> X11Frame::create(CFrame& frame, Window parent) {
    if (!parent || frame.getViewSize().isEmpty()) return nullptr;
    Display* display = XOpenDisplay(nullptr);
    if (!display) return nullptr;
    std::unique_ptr<X11Frame> platform(new X11Frame(frame, display));
    if (!platform->open(parent)) return nullptr;
    return platform;
}

X11Frame::X11Frame(CFrame& frame, Display* display)
    : frame_(frame),
      display_(display),
      image_(std::make_unique<OffscreenSurface>(frame.getViewSize(), frame.getScale())) {}

double X11Frame::scale() const { return frame_.getScale(); }

X11Frame::~X11Frame() {
    if (destroyed_) *destroyed_ = true;
    popup_.reset();
    if (PopupMenuDone done = std::exchange(popupDone_, {})) done(-1);
    {
        X11ErrorTrap trap(display_);
        if (windowSurface_) cairo_surface_destroy(windowSurface_);
        // Gone already when the host destroyed its window first.
        if (window_ && !windowGone_) XDestroyWindow(display_, window_);
    }
    XCloseDisplay(display_);
}

bool X11Frame::open(Window parent) {
    if (!image_->valid()) return false;
    X11ErrorTrap trap(display_);
    const CRect size = frame_.getDeviceSize();
    XSetWindowAttributes attributes{};
    attributes.background_pixmap = None;  // the frame paints every pixel
    attributes.event_mask = ExposureMask | ButtonPressMask | StructureNotifyMask;
    window_ = XCreateWindow(display_, parent, 0, 0, static_cast<unsigned>(size.width()),
                            static_cast<unsigned>(size.height()), 0, CopyFromParent, InputOutput,
                            CopyFromParent, CWBackPixmap | CWEventMask, &attributes);
    XWindowAttributes created;
    if (trap.failed() || !XGetWindowAttributes(display_, window_, &created)) {
        window_ = 0;  // a window made on a bad parent is not ours to destroy
        return false;
    }
    windowSurface_ =
        cairo_xlib_surface_create(display_, window_, created.visual, size.width(), size.height());
    XMapWindow(display_, window_);
    // A desktop that changes its scaling changes the root's resources.
    XSelectInput(display_, DefaultRootWindow(display_), PropertyChangeMask);
    return !trap.failed();
}

CDrawContext* X11Frame::beginDraw() {
    if (windowGone_) return nullptr;
    CDrawContext& context = image_->context();
    context.resetClipRect();
    return &context;
}

void X11Frame::endDraw() { show(frame_.getViewSize()); }

void X11Frame::repaint(const CRect& area) {
    if (CDrawContext* context = beginDraw()) {
        frame_.drawRect(context, area);
        show(area);
    }
}

void X11Frame::show(const CRect& area) {
    if (windowGone_ || area.isEmpty()) return;
    X11ErrorTrap trap(display_);
    cairo_surface_flush(image_->cairoSurface());
    // Window pixels start at the frame's scaled top-left corner.
    const CRect image = image_->deviceArea();
    const CRect shown = toDevice(area, scale()).offset(-image.left, -image.top);
    cairo_t* cr = cairo_create(windowSurface_);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_surface(cr, image_->cairoSurface(), 0, 0);
    cairo_rectangle(cr, shown.left, shown.top, shown.width(), shown.height());
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_flush(windowSurface_);
    XFlush(display_);  // shown now, not at the next idle's read of the connection
}

void X11Frame::scaleChanged() {
    auto image = std::make_unique<OffscreenSurface>(frame_.getViewSize(), scale());
    if (!image->valid() || windowGone_) return;
    image_ = std::move(image);
    X11ErrorTrap trap(display_);
    const CRect size = frame_.getDeviceSize();
    XResizeWindow(display_, window_, static_cast<unsigned>(size.width()),
                  static_cast<unsigned>(size.height()));
    cairo_xlib_surface_set_size(windowSurface_, size.width(), size.height());
    XFlush(display_);
}

void X11Frame::popupMenu(const PopupMenuRequest& request, PopupMenuDone done) {
    std::unique_ptr<X11PopupMenu> popup =
        windowGone_ || popup_ ? nullptr : X11PopupMenu::show(display_, window_, request, scale());
    if (!popup) {
        done(-1);
        return;
    }
    popup_ = std::move(popup);
    popupDone_ = std::move(done);
}

void X11Frame::finishPopup(int outcome) {
    if (outcome == X11PopupMenu::kStillOpen) return;
    popup_.reset();
    if (PopupMenuDone done = std::exchange(popupDone_, {})) done(outcome);
}

bool X11Frame::processEvents() {
    if (handlingEvents_) return true;  // a nested idle from inside a click's or a pick's handling
    bool destroyed = false;
    destroyed_ = &destroyed;
    handlingEvents_ = true;
    while (!windowGone_ && XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
        if (popup_ && event.xany.window == popup_->window()) {
            finishPopup(popup_->handle(event));
        } else if (event.type == PropertyNotify && event.xproperty.atom == XA_RESOURCE_MANAGER) {
            frame_.displayScaleChanged(xftScale(display_));
        } else {
            handle(event);
        }
        if (destroyed) return false;
    }
    // A list whose frame window went with the host's, or that never got its grab, closes.
    if (popup_) finishPopup(windowGone_ ? -1 : popup_->poll());
    if (destroyed) return false;
    handlingEvents_ = false;
    destroyed_ = nullptr;
    return true;
}

void X11Frame::handle(XEvent& event) {
    if (event.xany.window != window_) return;
    switch (event.type) {
        case Expose:
            exposed_ =
                unite(exposed_, CRect(event.xexpose.x, event.xexpose.y, event.xexpose.x + event.xexpose.width,
                                      event.xexpose.y + event.xexpose.height));
            if (event.xexpose.count == 0) {
                repaint(fromDevice(exposed_, scale())
                            .offset(frame_.getViewSize().left, frame_.getViewSize().top));
                exposed_ = CRect();
            }
            break;
        case ButtonPress:
            if (event.xbutton.button <= Button3) {
                CPoint where(frame_.getViewSize().left + fromDevice(event.xbutton.x, scale()),
                             frame_.getViewSize().top + fromDevice(event.xbutton.y, scale()));
                frame_.onMouseDown(where, buttonsOf(event.xbutton));
            }
            break;
        case DestroyNotify:
            windowGone_ = true;
            break;
        default:
            break;
    }
}

}  // namespace MX::toolkit
