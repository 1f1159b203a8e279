// The X11 backend (Linux): each frame becomes a child window of the host's
// window, drawn with cairo, with its own display connection that the frame's
// idle pumps. The host passes its window as an X11 Window id in the pointer.
// UI thread.
#pragma once

#include <memory>

#include "toolkit/backend.h"

namespace MX::toolkit {

class X11Backend final : public Backend {
public:
    // Null when `parentWindow` is null or not a window, or no display opens.
    std::unique_ptr<PlatformFrame> createFrame(CFrame& frame, void* parentWindow) override;
    // Xft.dpi / 96 (x11_display_scale.h); 1 without a display or the resource.
    double displayScale(void* parentWindow) override;
};

}  // namespace MX::toolkit
