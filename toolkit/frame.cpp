#include "toolkit/frame.h"

#include <algorithm>
#include <utility>

#include "toolkit/backend.h"
#include "toolkit/bitmap.h"
#include "toolkit/control.h"
#include "toolkit/display_scale.h"
#include "toolkit/draw_context.h"
#include "toolkit/editor_interface.h"

namespace MX::toolkit {

namespace {
constexpr std::size_t kMaxInvalidAreas = 16;
}  // namespace

CFrame::CFrame(const CRect& size, void* systemWindow, VSTGUIEditorInterface* editor, Backend* backend,
               double scale)
    : CView(size), editor_(editor), scale_(scale) {
    setDirty(true);
    if (!backend) backend = defaultBackend();
    if (backend) platform_ = backend->createFrame(*this, systemWindow);
}

CFrame::~CFrame() {
    platform_.reset();
    // A control kept by someone else, or one whose pop-up outlived the
    // surface's handling, must not leave the host with an edit that never ends.
    for (CControl* control : std::exchange(editing_, {})) {
        control->editFrame_ = nullptr;
        if (editor_) editor_->endEdit(control->getTag());
    }
    removeAll(true);
}

bool CFrame::addView(CView* view) {
    if (!view || view->isAttached()) return false;
    views_.push_back(view);
    view->attached(this);
    view->setDirty();
    return true;
}

bool CFrame::removeView(CView* view, bool withForget) {
    const auto it = std::find(views_.begin(), views_.end(), view);
    if (it == views_.end()) return false;
    views_.erase(it);
    view->removed(this);
    invalidRect(view->getViewSize());
    if (withForget) view->forget();
    return true;
}

void CFrame::removeAll(bool withForget) {
    while (!views_.empty()) removeView(views_.back(), withForget);
}

bool CFrame::isChild(const CView* view) const {
    return std::find(views_.begin(), views_.end(), view) != views_.end();
}

CView* CFrame::getView(int index) const {
    return index >= 0 && index < getNbViews() ? views_[static_cast<std::size_t>(index)] : nullptr;
}

void CFrame::invalidRect(const CRect& rect) {
    const CRect area = CRect(rect).bound(getViewSize());
    if (area.isEmpty()) return;
    // Many small areas cost more than one full repaint (and must not pile up while nothing draws).
    if (invalid_.size() >= kMaxInvalidAreas) {
        invalid_.clear();
        setDirty(true);
    } else if (!isDirty()) {
        invalid_.push_back(area);
    }
}

void CFrame::idle() {
    if (platform_ && !platform_->processEvents()) return;  // this frame is gone
    const bool anyView =
        std::any_of(views_.begin(), views_.end(), [](const CView* v) { return v->isDirty(); });
    if (!platform_ || (!isDirty() && !anyView && invalid_.empty())) return;
    CDrawContext* context = platform_->beginDraw();
    if (!context) return;

    if (isDirty()) {
        drawRect(context, getViewSize());
    } else {
        const std::vector<CRect> areas = std::exchange(invalid_, {});
        for (const CRect& area : areas) drawRect(context, area);
        // Index loop: each area's repaint clears the marks of the views it covers.
        for (std::size_t i = 0; i < views_.size(); ++i) {
            if (views_[i]->isDirty()) drawRect(context, views_[i]->getViewSize());
        }
    }
    platform_->endDraw();
}

void CFrame::setScale(double scale) {
    if (scale == scale_) return;
    scale_ = scale;
    if (platform_) platform_->scaleChanged();
    invalid_.clear();
    setDirty(true);
}

CRect CFrame::getDeviceSize() const { return toDevice(getViewSize(), scale_); }

void CFrame::displayScaleChanged(double scale) {
    if (editor_) editor_->displayScaleChanged(scale);
}

void CFrame::draw(CDrawContext* context) { drawRect(context, getViewSize()); }

void CFrame::drawRect(CDrawContext* context, const CRect& updateRect) {
    if (!context) return;
    CRect oldClip;
    context->getClipRect(oldClip);
    const CRect area = CRect(updateRect).bound(getViewSize()).bound(oldClip);
    if (!area.isEmpty()) {
        context->setClipRect(area);
        if (CBitmap* background = getBackground()) {
            background->draw(context, getViewSize());
        } else {
            context->setFillColor(kBlackCColor);
            context->fillRect(area);
        }
        for (CView* view : views_) {
            if (!view->getViewSize().rectOverlap(area)) continue;
            context->setClipRect(CRect(view->getViewSize()).bound(area));
            view->draw(context);
        }
        context->setClipRect(oldClip);
    }
    if (area == getViewSize()) {
        invalid_.clear();
        setDirty(false);
    }
}

CMouseEventResult CFrame::onMouseDown(CPoint& where, const CButtonState& buttons) {
    for (auto it = views_.rbegin(); it != views_.rend(); ++it) {
        CView* view = *it;
        if (!view->getViewSize().pointInside(where)) continue;
        view->remember();  // the click may take the view out of the frame
        const CMouseEventResult result = view->onMouseDown(where, buttons);
        view->forget();
        return result;
    }
    return kMouseEventNotHandled;
}

void CFrame::beginEdit(CControl& control) {
    editing_.push_back(&control);
    if (editor_) editor_->beginEdit(control.getTag());
}

void CFrame::endEdit(CControl& control) {
    const auto it = std::find(editing_.begin(), editing_.end(), &control);
    if (it == editing_.end()) return;
    editing_.erase(it);
    if (editor_) editor_->endEdit(control.getTag());
}

}  // namespace MX::toolkit
