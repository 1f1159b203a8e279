// A view that shows part of a vertical picture strip: its value is the strip
// row where the shown area starts. It draws only while its window flag is set.
// UI thread.
#pragma once

#include <cstdint>

#include "toolkit/control.h"

namespace MX::toolkit {

class CAutoAnimation : public CControl {
public:
    // Holds `background`, the picture strip. `heightOfOneImage` only describes
    // the strip: drawing starts at the row the value names.
    CAutoAnimation(const CRect& size, CControlListener* listener, std::int32_t tag, std::int32_t subPixmaps,
                   CCoord heightOfOneImage, CBitmap* background, const CPoint& offset = CPoint());

    // With the window flag set, copies the view-sized area at (offset.x,
    // offset.y + value truncated toward zero) of the strip; clears the redraw mark either way.
    void draw(CDrawContext* context) override;
    // Left button: value 0, window flag toggled, redraw mark, listener told.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    void openWindow() { windowOpened_ = true; }
    void closeWindow() { windowOpened_ = false; }
    bool isWindowOpened() const { return windowOpened_; }

    std::int32_t getNumSubPixmaps() const { return subPixmaps_; }

private:
    std::int32_t subPixmaps_;
    CPoint offset_;
    bool windowOpened_ = false;
};

}  // namespace MX::toolkit
