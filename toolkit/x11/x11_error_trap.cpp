#include "toolkit/x11/x11_error_trap.h"

namespace MX::toolkit {

namespace {

Display* trappedDisplay = nullptr;
bool trappedError = false;
XErrorHandler outerHandler = nullptr;

int trapHandler(Display* display, XErrorEvent* event) {
    if (display == trappedDisplay) {
        trappedError = true;
        return 0;
    }
    return outerHandler ? outerHandler(display, event) : 0;
}

}  // namespace

X11ErrorTrap::X11ErrorTrap(Display* display) : display_(display), outermost_(trappedDisplay == nullptr) {
    if (!outermost_) return;
    XSync(display_, False);  // errors of earlier requests are not this trap's
    trappedDisplay = display_;
    trappedError = false;
    outerHandler = XSetErrorHandler(trapHandler);
}

X11ErrorTrap::~X11ErrorTrap() {
    if (!outermost_) return;
    XSync(display_, False);
    XSetErrorHandler(outerHandler);
    trappedDisplay = nullptr;
    outerHandler = nullptr;
}

bool X11ErrorTrap::failed() {
    XSync(display_, False);
    return trappedError;
}

}  // namespace MX::toolkit
