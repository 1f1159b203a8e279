// The seam between the toolkit and a window system. A backend makes one
// PlatformFrame per CFrame: the surface the frame draws into and the system
// pop-up menu. The platform frame feeds its paint and mouse events back to
// the frame (CFrame::drawRect, onMouseDown) and a pop-up's outcome to the
// pop-up's callback. Implementations: offscreen (cairo image surface, tests
// and pictures), X11 (cairo on an Xlib window) and Win32 (GDI). UI thread only.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/geometry.h"

namespace MX::toolkit {

class CDrawContext;
class CFrame;

struct PopupMenuRequest {
    std::vector<std::string> titles;  // item titles in order
    int checkedIndex = -1;            // item shown with a check mark; -1 for none
    CRect anchor;                     // the control, frame coordinates; the menu opens below its left edge
};

using PopupMenuDone = std::function<void(int chosen)>;

class PlatformFrame {
public:
    virtual ~PlatformFrame() = default;
    // A context that draws into the frame's surface now, or null when nothing
    // can be drawn; valid until endDraw(), which shows what was drawn.
    virtual CDrawContext* beginDraw() = 0;
    virtual void endDraw() = 0;
    // Shows the pop-up menu. `done` runs exactly once with the chosen index, or
    // -1 when the menu was dismissed, could not be shown or this platform
    // frame goes while it is open. A system menu with a modal loop of its own
    // (Win32) runs it before popupMenu returns; the X11 list stays open and
    // runs it later from processEvents(), so the host's thread never waits on
    // the user. `done` may destroy the frame.
    virtual void popupMenu(const PopupMenuRequest& request, PopupMenuDone done) = 0;
    // Handles the window system's pending events (paint, mouse, an open
    // pop-up's) where the host does not deliver them itself (X11);
    // CFrame::idle() calls it first. False
    // when an event's handling destroyed the frame (a host that closes the
    // editor from a callback of a click): the caller must not touch it again.
    virtual bool processEvents() { return true; }
    // Redoes the surface (and the window) for the frame's new scale; the
    // frame repaints it all at its next idle.
    virtual void scaleChanged() {}
};

class Backend {
public:
    virtual ~Backend() = default;
    // Makes the surface of `frame` (its view size) inside the native parent
    // window, which may be null for backends without windows. Null on failure.
    virtual std::unique_ptr<PlatformFrame> createFrame(CFrame& frame, void* parentWindow) = 0;
    // The scale the window system states for a window inside `parentWindow`
    // (null: for the screen), before rounding; 1 where it states none.
    virtual double displayScale(void* parentWindow) {
        (void)parentWindow;
        return 1.0;
    }
};

// The backend new frames use when none is named. Null (the start value): frames
// have no surface, draw nothing and every pop-up counts as dismissed.
void setDefaultBackend(Backend* backend) noexcept;
Backend* defaultBackend() noexcept;

}  // namespace MX::toolkit
