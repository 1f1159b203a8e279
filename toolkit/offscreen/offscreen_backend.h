// The backend without a window system: each frame draws into an
// OffscreenSurface of its size, and pop-up menus are answered by a handler
// that tests set (by default every pop-up is dismissed). Linux only.
// UI thread.
#pragma once

#include <functional>
#include <memory>

#include "toolkit/backend.h"
#include "toolkit/offscreen/offscreen_surface.h"

namespace MX::toolkit {

class OffscreenBackend final : public Backend {
public:
    // Returns the chosen item index, or -1 to dismiss.
    using PopupHandler = std::function<int(const PopupMenuRequest&)>;

    void setPopupHandler(PopupHandler handler) { popupHandler_ = std::move(handler); }
    int choosePopupItem(const PopupMenuRequest& request) const;

    std::unique_ptr<PlatformFrame> createFrame(CFrame& frame, void* parentWindow) override;
    // What displayScale answers, as a window system would state it; 1 at first.
    void setDisplayScale(double scale) { displayScale_ = scale; }
    double displayScale(void*) override { return displayScale_; }

private:
    PopupHandler popupHandler_;
    double displayScale_ = 1.0;
};

class OffscreenFrame final : public PlatformFrame {
public:
    OffscreenFrame(CFrame& frame, const OffscreenBackend& backend);

    // The offscreen surface of `frame`, or null when it has another backend or none.
    static OffscreenFrame* of(const CFrame& frame);

    CDrawContext* beginDraw() override;
    void endDraw() override {}
    // Answered at once by the backend's handler.
    void popupMenu(const PopupMenuRequest& request, PopupMenuDone done) override;

    void scaleChanged() override;

    // Paints the whole frame now, as a window system's first paint would.
    void paint();
    OffscreenSurface& surface() { return *surface_; }

private:
    CFrame& frame_;
    const OffscreenBackend& backend_;
    std::unique_ptr<OffscreenSurface> surface_;
};

}  // namespace MX::toolkit
