#include "toolkit/offscreen/offscreen_backend.h"

#include "toolkit/draw_context.h"
#include "toolkit/frame.h"

namespace MX::toolkit {

int OffscreenBackend::choosePopupItem(const PopupMenuRequest& request) const {
    return popupHandler_ ? popupHandler_(request) : -1;
}

std::unique_ptr<PlatformFrame> OffscreenBackend::createFrame(CFrame& frame, void*) {
    auto platform = std::make_unique<OffscreenFrame>(frame, *this);
    if (!platform->surface().valid()) return nullptr;
    return platform;
}

OffscreenFrame::OffscreenFrame(CFrame& frame, const OffscreenBackend& backend)
    : frame_(frame),
      backend_(backend),
      surface_(std::make_unique<OffscreenSurface>(frame.getViewSize(), frame.getScale())) {}

void OffscreenFrame::scaleChanged() {
    surface_ = std::make_unique<OffscreenSurface>(frame_.getViewSize(), frame_.getScale());
}

OffscreenFrame* OffscreenFrame::of(const CFrame& frame) {
    return dynamic_cast<OffscreenFrame*>(frame.getPlatformFrame());
}

CDrawContext* OffscreenFrame::beginDraw() {
    CDrawContext& context = surface_->context();
    context.resetClipRect();
    return &context;
}

void OffscreenFrame::popupMenu(const PopupMenuRequest& request, PopupMenuDone done) {
    done(backend_.choosePopupItem(request));
}

void OffscreenFrame::paint() {
    frame_.drawRect(beginDraw(), frame_.getViewSize());
    endDraw();
}

}  // namespace MX::toolkit
