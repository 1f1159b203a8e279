// Catches the X protocol errors of one display connection while it lives, so
// that a bad or vanished host window cannot reach Xlib's default handler,
// which ends the whole host process. Other connections' errors go on to the
// handler that was installed before. UI thread only. A trap set while another
// is active for the same display shares it.
#pragma once

#include <X11/Xlib.h>

namespace MX::toolkit {

class X11ErrorTrap {
public:
    explicit X11ErrorTrap(Display* display);
    ~X11ErrorTrap();
    X11ErrorTrap(const X11ErrorTrap&) = delete;
    X11ErrorTrap& operator=(const X11ErrorTrap&) = delete;

    // Waits for the server to answer every request sent so far; true when
    // any of them failed since the outermost trap was set.
    bool failed();

private:
    Display* display_;
    bool outermost_;
};

}  // namespace MX::toolkit
