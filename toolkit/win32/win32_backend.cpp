#include "toolkit/win32/win32_backend.h"

#include "toolkit/win32/win32_frame.h"

namespace MX::toolkit {

std::unique_ptr<PlatformFrame> Win32Backend::createFrame(CFrame& frame, void* parentWindow) {
    return Win32Frame::create(frame, static_cast<HWND>(parentWindow));
}

}  // namespace MX::toolkit
