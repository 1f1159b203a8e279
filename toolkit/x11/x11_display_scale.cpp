#include "toolkit/x11/x11_display_scale.h"

#include <X11/Xatom.h>
#include <X11/Xresource.h>

#include <cstdlib>
#include <string>

#include "toolkit/display_scale.h"

namespace MX::toolkit {

namespace {

// The root window's resource string, as the server holds it now.
std::string resourceString(Display* display) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    std::string text;
    if (XGetWindowProperty(display, DefaultRootWindow(display), XA_RESOURCE_MANAGER, 0, 1L << 20, False,
                           XA_STRING, &type, &format, &count, &remaining, &data) == Success &&
        data && format == 8) {
        text.assign(reinterpret_cast<const char*>(data), count);
    }
    if (data) XFree(data);
    return text;
}

}  // namespace

double xftScale(Display* display) {
    if (!display) return 1.0;
    const std::string resources = resourceString(display);
    if (resources.empty()) return 1.0;
    double dpi = 0.0;
    XrmInitialize();
    if (XrmDatabase database = XrmGetStringDatabase(resources.c_str())) {
        char* type = nullptr;
        XrmValue value{};
        if (XrmGetResource(database, "Xft.dpi", "Xft.Dpi", &type, &value) && value.addr)
            dpi = std::strtod(std::string(value.addr, value.size).c_str(), nullptr);
        XrmDestroyDatabase(database);
    }
    return dpi > 0.0 ? dpi / kDefaultDpi : 1.0;
}

}  // namespace MX::toolkit
