#include "toolkit/x11/x11_backend.h"

#include <cstdint>

#include "toolkit/x11/x11_frame.h"

namespace MX::toolkit {

std::unique_ptr<PlatformFrame> X11Backend::createFrame(CFrame& frame, void* parentWindow) {
    return X11Frame::create(frame, static_cast<Window>(reinterpret_cast<std::uintptr_t>(parentWindow)));
}

}  // namespace MX::toolkit
