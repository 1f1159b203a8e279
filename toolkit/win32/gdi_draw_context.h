// CDrawContext drawn with GDI into a device context: bitmaps with
// StretchDIBits straight from their decoded pixels, text with DrawTextA in a
// font made by CreateFontA (kept while the font stays the same), clipping
// with IntersectClipRect inside SaveDC/RestoreDC. Windows only.
// UI thread.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "toolkit/display_scale.h"
#include "toolkit/draw_context.h"

namespace MX::toolkit {

class GdiDrawContext final : public CDrawContext {
public:
    // Draws into `dc` (not owned; must outlive the context), whose origin is
    // the frame's top-left corner, at `scale` device pixels per frame pixel.
    // `surface` is the drawable area in frame pixels.
    GdiDrawContext(HDC dc, const CRect& surface, double scale = 1.0);
    ~GdiDrawContext() override;

protected:
    void fillPixels(const CRect& area, const CColor& colour) override;
    void copyPixels(const CBitmap& bitmap, const CRect& area, const CPoint& source) override;
    void showText(const char* text, const CRect& rect, CHoriTxtAlign align, const CFontDesc& font,
                  const CColor& colour, const CRect& clip) override;
    CCoord measureText(const char* text, const CFontDesc& font) override;

private:
    // The GDI font for `font`, made on first use and when the description changes.
    HFONT fontFor(const CFontDesc& font);
    CRect device(const CRect& rect) const { return toDevice(rect, getScale()); }

    HDC dc_;
    HFONT font_ = nullptr;
    CFontDesc fontDesc_;
};

}  // namespace MX::toolkit
