// The DPI Windows states for a window: GetDpiForWindow where the system has
// it (Windows 10 1607 on; looked up at run time, so the DLL still loads on
// older systems), else the screen's. A window the host keeps DPI-unaware
// reports 96 and is stretched by the system. UI thread.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace MX::toolkit {

// `window` may be null: the screen's DPI.
unsigned windowDpi(HWND window) noexcept;

}  // namespace MX::toolkit
