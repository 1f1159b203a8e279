#include "toolkit/control.h"

#include "toolkit/frame.h"

namespace MX::toolkit {

CControl::CControl(const CRect& size, CControlListener* listener, std::int32_t tag, CBitmap* background)
    : CView(size), listener_(listener), tag_(tag) {
    if (background) setBackground(background);
    setDirty(false);
}

void CControl::beginEdit() {
    if (CFrame* frame = getFrame()) frame->beginEdit(tag_);
}

void CControl::endEdit() {
    if (CFrame* frame = getFrame()) frame->endEdit(tag_);
}

}  // namespace MX::toolkit
