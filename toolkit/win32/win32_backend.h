// The Win32 backend (Windows): each frame becomes a child window of the
// host's window (an HWND in the pointer), painted with GDI.
// UI thread.
#pragma once

#include <memory>

#include "toolkit/backend.h"

namespace MX::toolkit {

class Win32Backend final : public Backend {
public:
    // Null when `parentWindow` is not a window.
    std::unique_ptr<PlatformFrame> createFrame(CFrame& frame, void* parentWindow) override;
    // The DPI of the host's window (or the screen's) / 96.
    double displayScale(void* parentWindow) override;
};

}  // namespace MX::toolkit
