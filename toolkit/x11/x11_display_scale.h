// The scale an X server states for its screen: Xft.dpi / 96 from its resource
// database (the RESOURCE_MANAGER property of the root window, which desktops
// set for their scaling and change when the user does). UI thread.
#pragma once

#include <X11/Xlib.h>

namespace MX::toolkit {

// 1 without the resource; read afresh from the server each time.
double xftScale(Display* display);

}  // namespace MX::toolkit
