#include "toolkit/x11/x11_backend.h"

#include <cstdint>

#include "toolkit/x11/x11_frame.h"

namespace MX::toolkit {

std::unique_ptr<PlatformFrame> X11Backend::createFrame(CFrame& frame, void* parentWindow) {
    return X11Frame::create(frame, static_cast<Window>(reinterpret_cast<std::uintptr_t>(parentWindow)));
}

bool X11Backend::displayAvailable() noexcept {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return false;
    XCloseDisplay(display);
    return true;
}

}  // namespace MX::toolkit
