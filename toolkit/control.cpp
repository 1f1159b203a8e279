#include "toolkit/control.h"

#include <utility>

#include "toolkit/frame.h"

namespace MX::toolkit {

CControl::CControl(const CRect& size, CControlListener* listener, std::int32_t tag, CBitmap* background)
    : CView(size), listener_(listener), tag_(tag) {
    if (background) setBackground(background);
    setDirty(false);
}

CControl::~CControl() { CControl::endEdit(); }

void CControl::beginEdit() {
    CFrame* frame = getFrame();
    if (!frame || editFrame_) return;
    editFrame_ = frame;
    frame->beginEdit(*this);
}

void CControl::endEdit() {
    if (CFrame* frame = std::exchange(editFrame_, nullptr)) frame->endEdit(*this);
}

}  // namespace MX::toolkit
