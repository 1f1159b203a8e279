#include "toolkit/option_menu.h"

#include "toolkit/backend.h"
#include "toolkit/bitmap.h"
#include "toolkit/frame.h"

namespace MX::toolkit {

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, std::int32_t tag, CBitmap* background,
                         CBitmap* bgWhenClick, std::int32_t style)
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

CMouseEventResult COptionMenu::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!(buttons & (kLButton | kRButton))) return kMouseEventNotHandled;
    if (popupOpen_) return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
    CFrame* frame = getFrame();
    PlatformFrame* platform = frame ? frame->getPlatformFrame() : nullptr;

    PopupMenuRequest request;
    request.titles.reserve(items_.size());
    for (const auto& item : items_) request.titles.emplace_back(item->getTitle());
    request.checkedIndex = (getStyle() & kCheckStyle) ? current_ : -1;
    request.anchor = getViewSize();

    // Held until the pop-up ends: the frame may let go of the menu meanwhile.
    remember();
    popupOpen_ = true;
    beginEdit();
    if (!platform || items_.empty()) {
        popupClosed(-1);
    } else {
        platform->popupMenu(request, [this](int chosen) { popupClosed(chosen); });
    }
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

void COptionMenu::popupClosed(int chosen) {
    popupOpen_ = false;
    if (chosen >= 0 && chosen < getNbEntries()) {
        setValue(static_cast<float>(chosen));
        current_ = chosen;
        setDirty();
        if (CControlListener* listener = getListener()) listener->valueChanged(this);
    }
    endEdit();
    forget();
}

}  // namespace MX::toolkit
