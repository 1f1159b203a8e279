// CDrawContext drawn with cairo: shared by the cairo-based backends (the
// offscreen image surface, and an Xlib surface for X11). Text uses cairo's
// font selection, so "Arial" resolves through fontconfig (Liberation Sans).
// UI thread.
#pragma once

#include <cairo.h>

#include "toolkit/display_scale.h"
#include "toolkit/draw_context.h"

namespace MX::toolkit {

class CairoDrawContext final : public CDrawContext {
public:
    // Draws through `cr`, whose user space must be device pixels (frame
    // coordinates times `scale`); `surface` is the drawable area in frame
    // coordinates. `cr` is not owned and must outlive the context.
    CairoDrawContext(cairo_t* cr, const CRect& surface, double scale = 1.0);

protected:
    void fillPixels(const CRect& area, const CColor& colour) override;
    void copyPixels(const CBitmap& bitmap, const CRect& area, const CPoint& source) override;
    void showText(const char* text, const CRect& rect, CHoriTxtAlign align, const CFontDesc& font,
                  const CColor& colour, const CRect& clip) override;
    CCoord measureText(const char* text, const CFontDesc& font) override;

private:
    void selectFont(const CFontDesc& font);
    CRect device(const CRect& rect) const { return toDevice(rect, getScale()); }

    cairo_t* cr_;
};

}  // namespace MX::toolkit
