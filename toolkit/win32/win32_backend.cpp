#include "toolkit/win32/win32_backend.h"

#include "toolkit/display_scale.h"
#include "toolkit/win32/win32_frame.h"
#include "toolkit/win32/window_dpi.h"

namespace MX::toolkit {

std::unique_ptr<PlatformFrame> Win32Backend::createFrame(CFrame& frame, void* parentWindow) {
    return Win32Frame::create(frame, static_cast<HWND>(parentWindow));
}

double Win32Backend::displayScale(void* parentWindow) {
    HWND parent = static_cast<HWND>(parentWindow);
    return windowDpi(parent && IsWindow(parent) ? parent : nullptr) / kDefaultDpi;
}

}  // namespace MX::toolkit
