// The option menu's pop-up on X11: an override-redirect window below the
// menu listing the item titles in the menu face's font and colours. It grabs
// the pointer and the keyboard and runs a short modal loop on the frame's
// display connection until the user picks an item (button release over it,
// or Return on the highlighted one) or dismisses the list (a press outside,
// or Escape). Events for other windows of the connection go to `forward`.
#pragma once

#include <X11/Xlib.h>

#include <functional>

#include "toolkit/backend.h"

namespace MX::toolkit {

// The chosen index, or -1 when dismissed or when the pop-up cannot be shown.
// `owner` is the frame window the request's anchor is relative to.
int runX11PopupMenu(Display* display, Window owner, const PopupMenuRequest& request,
                    const std::function<void(XEvent&)>& forward);

}  // namespace MX::toolkit
