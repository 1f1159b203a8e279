#include "toolkit/x11/x11_backend.h"

#include <X11/Xresource.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "toolkit/display_scale.h"
#include "toolkit/x11/x11_frame.h"

namespace MX::toolkit {

std::unique_ptr<PlatformFrame> X11Backend::createFrame(CFrame& frame, void* parentWindow) {
    return X11Frame::create(frame, static_cast<Window>(reinterpret_cast<std::uintptr_t>(parentWindow)));
}

double X11Backend::displayScale(void*) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 1.0;
    double dpi = 0.0;
    if (const char* resources = XResourceManagerString(display)) {
        XrmInitialize();
        if (XrmDatabase database = XrmGetStringDatabase(resources)) {
            char* type = nullptr;
            XrmValue value{};
            if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
                dpi = std::strtod(std::string(value.addr, value.size).c_str(), nullptr);
            XrmDestroyDatabase(database);
        }
    }
    XCloseDisplay(display);
    return dpi > 0.0 ? dpi / kDefaultDpi : 1.0;
}

}  // namespace MX::toolkit
