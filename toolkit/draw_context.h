// The drawing interface views draw through. This base keeps the drawing
// state (clip rectangle, colours, font, display scale) and does the clipping
// in frame pixels; each backend implements the few pixel primitives below
// for its surface, multiplying by the scale.
// UI thread.
#pragma once

#include "toolkit/color.h"
#include "toolkit/font.h"
#include "toolkit/geometry.h"

namespace MX::toolkit {

class CBitmap;

class CDrawContext {
public:
    // `surface` is the drawable area in frame coordinates and the initial clip.
    explicit CDrawContext(const CRect& surface, double scale = 1.0);
    CDrawContext(const CDrawContext&) = delete;
    CDrawContext& operator=(const CDrawContext&) = delete;
    virtual ~CDrawContext() = default;

    // The clip never reaches outside the surface.
    void setClipRect(const CRect& clip);
    CRect& getClipRect(CRect& clip) const;
    void resetClipRect();

    // Device pixels per frame pixel; views draw at scale 1 whatever it is.
    double getScale() const { return scale_; }

    void setFillColor(const CColor& colour) { fillColour_ = colour; }
    void setFontColor(const CColor& colour) { fontColour_ = colour; }
    const CColor& getFontColor() const { return fontColour_; }
    // `size` 0 keeps the font's own size, `style` -1 its own style.
    void setFont(const CFontDesc& font, int size = 0, int style = -1);
    const CFontDesc& getFont() const { return font_; }

    void fillRect(const CRect& rect);  // in the fill colour
    // One line of text in the font and font colour, vertically centred in
    // `rect` and clipped to it; `opaque` fills `rect` with the fill colour first.
    void drawString(const char* text, const CRect& rect, bool opaque = false,
                    CHoriTxtAlign align = kCenterText);
    CCoord getStringWidth(const char* text);
    // Copies bitmap pixels starting at `source` into `dest`, opaquely; parts
    // outside the bitmap or the clip are left untouched.
    void drawBitmap(const CBitmap& bitmap, const CRect& dest, const CPoint& source);

protected:
    // Backend primitives. `area` arrives non-empty and inside the clip; in
    // copyPixels `source` + `area`'s size lies inside the bitmap. All in frame
    // pixels: backends scale them.
    virtual void fillPixels(const CRect& area, const CColor& colour) = 0;
    virtual void copyPixels(const CBitmap& bitmap, const CRect& area, const CPoint& source) = 0;
    virtual void showText(const char* text, const CRect& rect, CHoriTxtAlign align, const CFontDesc& font,
                          const CColor& colour, const CRect& clip) = 0;
    virtual CCoord measureText(const char* text, const CFontDesc& font) = 0;

private:
    CRect surface_;
    double scale_;
    CRect clip_;
    CColor fillColour_ = kWhiteCColor;
    CColor fontColour_ = kWhiteCColor;
    CFontDesc font_ = kNormalFont;
};

}  // namespace MX::toolkit
