#include "toolkit/option_menu.h"

#include "toolkit/backend.h"
#include "toolkit/bitmap.h"
#include "toolkit/frame.h"

namespace MX::toolkit {

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, std::int32_t tag,
                         CBitmap* background, CBitmap* bgWhenClick, std::int32_t style)
    : CParamDisplay(size, background, style), bgWhenClick_(bgWhenClick) {
    setListener(listener);
    setTag(tag);
    if (bgWhenClick_) bgWhenClick_->remember();
}

COptionMenu::~COptionMenu() {
    if (bgWhenClick_) bgWhenClick_->forget();
}

CMenuItem* COptionMenu::addEntry(const char* title, std::int32_t index, std::int32_t flags) {
    auto item = std::make_unique<CMenuItem>(title, flags);
    CMenuItem* added = item.get();
    if (index < 0 || index >= getNbEntries()) {
        items_.push_back(std::move(item));
    } else {
        items_.insert(items_.begin() + index, std::move(item));
    }
    return added;
}

CMenuItem* COptionMenu::getEntry(std::int32_t index) const {
    return index >= 0 && index < getNbEntries() ? items_[static_cast<std::size_t>(index)].get() : nullptr;
}

bool COptionMenu::setCurrent(std::int32_t index) {
    if (!getEntry(index)) return false;
    current_ = index;
    setDirty();
    return true;
}

void COptionMenu::draw(CDrawContext* context) {
    const CMenuItem* item = getEntry(current_);
    drawText(context, item ? item->getTitle() : nullptr, popupOpen_ ? bgWhenClick_ : nullptr);
}

std::int32_t COptionMenu::showPopup() {
    CFrame* frame = getFrame();
    PlatformFrame* platform = frame ? frame->getPlatformFrame() : nullptr;
    if (!platform || items_.empty()) return -1;

    PopupMenuRequest request;
    request.titles.reserve(items_.size());
    for (const auto& item : items_) request.titles.push_back(item->getTitle());
    request.checkedIndex = (getStyle() & kCheckStyle) ? current_ : -1;
    request.anchor = getViewSize();

    popupOpen_ = true;
    const int chosen = platform->popupMenu(request);
    popupOpen_ = false;
    return chosen >= 0 && chosen < getNbEntries() ? chosen : -1;
}

CMouseEventResult COptionMenu::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!(buttons & (kLButton | kRButton))) return kMouseEventNotHandled;
    // The listener may drop the last outside reference to this menu.
    remember();
    beginEdit();
    const std::int32_t chosen = showPopup();
    if (chosen >= 0) {
        setValue(static_cast<float>(chosen));
        current_ = chosen;
        setDirty();
        if (CControlListener* listener = getListener()) listener->valueChanged(this);
    }
    endEdit();
    forget();
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

}  // namespace MX::toolkit
