#include "toolkit/auto_animation.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "toolkit/bitmap.h"

namespace MX::toolkit {

namespace {

// The value truncated toward zero, pinned to the coordinate range (a NaN counts as 0)
// so that no float-to-int conversion can overflow.
std::int64_t sourceRow(float value) {
    const double v = value;
    if (std::isnan(v)) return 0;
    constexpr double lowest = std::numeric_limits<CCoord>::min();
    constexpr double highest = std::numeric_limits<CCoord>::max();
    return static_cast<std::int64_t>(std::trunc(v < lowest ? lowest : (v > highest ? highest : v)));
}

}  // namespace

CAutoAnimation::CAutoAnimation(const CRect& size, CControlListener* listener, std::int32_t tag,
                               std::int32_t subPixmaps, CCoord /*heightOfOneImage*/, CBitmap* background,
                               const CPoint& offset)
    : CControl(size, listener, tag, background), subPixmaps_(subPixmaps), offset_(offset) {}

void CAutoAnimation::draw(CDrawContext* context) {
    CBitmap* strip = getBackground();
    if (windowOpened_ && strip) {
        const std::int64_t y = std::int64_t{offset_.y} + sourceRow(getValue());
        if (y >= std::numeric_limits<CCoord>::min() && y <= std::numeric_limits<CCoord>::max()) {
            strip->draw(context, getViewSize(), CPoint(offset_.x, static_cast<CCoord>(y)));
        }
    }
    setDirty(false);
}

CMouseEventResult CAutoAnimation::onMouseDown(CPoint&, const CButtonState& buttons) {
    if (!(buttons & kLButton)) return kMouseEventNotHandled;
    setValue(0.0f);
    windowOpened_ = !windowOpened_;
    setDirty();
    if (CControlListener* listener = getListener()) listener->valueChanged(this);
    return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

}  // namespace MX::toolkit
