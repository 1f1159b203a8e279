#include "toolkit/win32/frame_window_class.h"

#include "platform/platform.h"

namespace MX::toolkit {

namespace {

constexpr char kClassName[] = "DruvoFrameWindow";
int users = 0;

bool registerClass(WNDPROC procedure) {
    WNDCLASSEXA windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = procedure;
    windowClass.hInstance = FrameWindowClass::instance();
    windowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    windowClass.lpszClassName = kClassName;
    return RegisterClassExA(&windowClass) != 0;
}

}  // namespace

bool FrameWindowClass::acquire(WNDPROC procedure) {
    if (users == 0 && !registerClass(procedure)) {
        // Left behind by an earlier copy of this library at the same address:
        // replace it, since its procedure may no longer exist.
        if (GetLastError() != ERROR_CLASS_ALREADY_EXISTS || !UnregisterClassA(kClassName, instance()) ||
            !registerClass(procedure)) {
            return false;
        }
    }
    ++users;
    return true;
}

void FrameWindowClass::release() {
    if (users > 0 && --users == 0) UnregisterClassA(kClassName, instance());
}

const char* FrameWindowClass::name() { return kClassName; }

HINSTANCE FrameWindowClass::instance() { return static_cast<HINSTANCE>(platform::libraryInstance()); }

}  // namespace MX::toolkit
