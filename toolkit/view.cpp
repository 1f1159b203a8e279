#include "toolkit/view.h"

#include "toolkit/bitmap.h"

namespace MX::toolkit {

CView::CView(const CRect& size) : size_(size) {}

CView::~CView() {
    if (background_) background_->forget();
}

void CView::draw(CDrawContext* context) {
    if (background_) background_->draw(context, size_);
    setDirty(false);
}

CMouseEventResult CView::onMouseDown(CPoint&, const CButtonState&) { return kMouseEventNotImplemented; }

void CView::setViewSize(const CRect& rect) {
    size_ = rect;
    setDirty();
}

void CView::setBackground(CBitmap* bitmap) {
    if (bitmap) bitmap->remember();
    if (background_) background_->forget();
    background_ = bitmap;
    setDirty();
}

bool CView::attached(CFrame* frame) {
    if (frame_ || !frame) return false;
    frame_ = frame;
    return true;
}

bool CView::removed(CFrame* frame) {
    if (frame_ != frame) return false;
    frame_ = nullptr;
    return true;
}

}  // namespace MX::toolkit
