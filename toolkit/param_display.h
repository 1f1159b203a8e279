// A control that shows its value as text over a background bitmap or colour.
// UI thread.
#pragma once

#include <cstdint>

#include "toolkit/color.h"
#include "toolkit/control.h"
#include "toolkit/font.h"

namespace MX::toolkit {

enum CParamDisplayStyle : std::int32_t {
    kShadowText = 1 << 2,    // text drawn a second time, in the shadow colour, one pixel right and down
    kCheckStyle = 1 << 6,    // option menus: check mark on the current item in the pop-up
    kNoTextStyle = 1 << 11,  // background only
    kNoDrawStyle = 1 << 12,  // nothing at all
};

class CParamDisplay : public CControl {
public:
    CParamDisplay(const CRect& size, CBitmap* background = nullptr, std::int32_t style = 0);

    // The value with two decimals, through drawText.
    void draw(CDrawContext* context) override;
    // Clears the redraw mark, paints the background (`newBack`, else the
    // background bitmap at the back offset, else the back colour) and then
    // `text`, when given, in the view's font clipped to the view.
    virtual void drawText(CDrawContext* context, const char* text, CBitmap* newBack = nullptr);

    void setFont(const CFontDesc& font) { font_ = font; }
    const CFontDesc& getFont() const { return font_; }
    void setFontColor(const CColor& colour) { fontColour_ = colour; }
    const CColor& getFontColor() const { return fontColour_; }
    void setBackColor(const CColor& colour) { backColour_ = colour; }
    const CColor& getBackColor() const { return backColour_; }
    const CColor& getShadowColor() const { return shadowColour_; }
    void setStyle(std::int32_t style) { style_ = style; }
    std::int32_t getStyle() const { return style_; }

private:
    CFontDesc font_ = kNormalFont;
    CColor fontColour_ = kWhiteCColor;
    CColor backColour_ = kBlackCColor;
    CColor shadowColour_ = kBlackCColor;
    CHoriTxtAlign align_ = kCenterText;
    std::int32_t style_;
};

}  // namespace MX::toolkit
