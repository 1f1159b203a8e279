// The window class of frame windows, registered on this library's instance
// handle while any frame window exists and unregistered with the last one:
// Windows keeps a DLL's classes after the DLL is unloaded, and a class left
// behind would point at code that a reload may have moved. UI thread only.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

namespace MX::toolkit {

class FrameWindowClass {
public:
    // Registers the class (first user) or counts one more user; false when
    // registration failed, in which case nothing is counted.
    static bool acquire(WNDPROC procedure);
    // Drops one user; the last one unregisters the class.
    static void release();

    static const char* name();
    static HINSTANCE instance();
};

}  // namespace MX::toolkit
