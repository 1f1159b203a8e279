#include "toolkit/x11/x11_backend.h"

#include <cstdint>

#include "toolkit/x11/x11_display_scale.h"
#include "toolkit/x11/x11_frame.h"

namespace MX::toolkit {

std::unique_ptr<PlatformFrame> X11Backend::createFrame(CFrame& frame, void* parentWindow) {
    return X11Frame::create(frame, static_cast<Window>(reinterpret_cast<std::uintptr_t>(parentWindow)));
}

double X11Backend::displayScale(void*) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1.0;
    const double scale = xftScale(display);
    XCloseDisplay(display);
    return scale;
}

}  // namespace MX::toolkit
