// The seam between the toolkit and a window system. A backend makes one
// PlatformFrame per CFrame: the surface the frame draws into and the system
// pop-up menu. The platform frame feeds its paint, mouse and key events back
// to the frame (CFrame::drawRect, onMouseDown, onKeyDown/onKeyUp).
// Implementations: offscreen (cairo image surface, tests and pictures); later
// X11 (cairo on an Xlib window) and Win32 (GDI). UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "toolkit/geometry.h"

namespace MX::toolkit {

class CDrawContext;
class CFrame;

struct PopupMenuRequest {
    std::vector<const char*> titles;  // item titles in order, valid during the call
    int checkedIndex = -1;            // item shown with a check mark; -1 for none
    CRect anchor;                     // the control, frame coordinates; the menu opens below its left edge
};

class PlatformFrame {
public:
    virtual ~PlatformFrame() = default;
    // A context that draws into the frame's surface now, or null when nothing
    // can be drawn; valid until endDraw(), which shows what was drawn.
    virtual CDrawContext* beginDraw() = 0;
    virtual void endDraw() = 0;
    // Shows the pop-up menu and waits for the user's choice: the chosen index,
    // or -1 when the menu was dismissed.
    virtual int popupMenu(const PopupMenuRequest& request) = 0;
    // Handles the window system's pending events (paint, mouse) where the host
    // does not deliver them itself (X11); CFrame::idle() calls it first. False
    // when an event's handling destroyed the frame (a host that closes the
    // editor from a callback of a click): the caller must not touch it again.
    virtual bool processEvents() { return true; }
};

class Backend {
public:
    virtual ~Backend() = default;
    // Makes the surface of `frame` (its view size) inside the native parent
    // window, which may be null for backends without windows. Null on failure.
    virtual std::unique_ptr<PlatformFrame> createFrame(CFrame& frame, void* parentWindow) = 0;
};

// The backend new frames use when none is named. Null (the start value): frames
// have no surface, draw nothing and every pop-up counts as dismissed.
void setDefaultBackend(Backend* backend) noexcept;
Backend* defaultBackend() noexcept;

}  // namespace MX::toolkit
