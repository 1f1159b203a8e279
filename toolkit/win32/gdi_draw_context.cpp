#include "toolkit/win32/gdi_draw_context.h"

#include <cmath>
#include <cstring>

#include "toolkit/bitmap.h"

namespace MX::toolkit {

namespace {

COLORREF colourRef(const CColor& c) { return RGB(c.red, c.green, c.blue); }

RECT toRect(const CRect& r) { return RECT{r.left, r.top, r.right, r.bottom}; }

bool sameFont(const CFontDesc& a, const CFontDesc& b) {
    return a.getSize() == b.getSize() && a.getStyle() == b.getStyle() &&
           std::strcmp(a.getName(), b.getName()) == 0;
}

}  // namespace

GdiDrawContext::GdiDrawContext(HDC dc, const CRect& surface, double scale)
    : CDrawContext(surface, scale), dc_(dc) {}

GdiDrawContext::~GdiDrawContext() {
    if (font_) DeleteObject(font_);
}

void GdiDrawContext::fillPixels(const CRect& area, const CColor& colour) {
    SetDCBrushColor(dc_, colourRef(colour));
    const RECT rect = toRect(device(area));
    FillRect(dc_, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void GdiDrawContext::copyPixels(const CBitmap& bitmap, const CRect& area, const CPoint& source) {
    int imageScale = 1;
    const PixelImage& image = bitmap.imageFor(getScale(), imageScale);
    const CRect from(source.x * imageScale, source.y * imageScale, (source.x + area.width()) * imageScale,
                     (source.y + area.height()) * imageScale);
    const CRect to = device(area);
    // A top-down 32-bit DIB starting at the first source row: its words are
    // the bitmap's 0xAARRGGBB pixels (blue first in memory, as GDI wants).
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -from.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const std::uint32_t* firstRow = image.pixels.data() + static_cast<std::size_t>(from.top) * image.width;
    // Pixel for pixel at the drawing's own size or twice it; smoothly otherwise.
    const bool exact = to.width() == from.width() || to.width() == 2 * from.width();
    const int oldMode = SetStretchBltMode(dc_, exact ? COLORONCOLOR : HALFTONE);
    if (!exact) SetBrushOrgEx(dc_, 0, 0, nullptr);
    StretchDIBits(dc_, to.left, to.top, to.width(), to.height(), from.left, 0, from.width(), from.height(),
                  firstRow, &info, DIB_RGB_COLORS, SRCCOPY);
    SetStretchBltMode(dc_, oldMode);
}

void GdiDrawContext::showText(const char* text, const CRect& rect, CHoriTxtAlign align, const CFontDesc& font,
                              const CColor& colour, const CRect& clip) {
    HFONT gdiFont = fontFor(font);
    const int saved = SaveDC(dc_);
    const CRect deviceClip = device(clip);
    IntersectClipRect(dc_, deviceClip.left, deviceClip.top, deviceClip.right, deviceClip.bottom);
    if (gdiFont) SelectObject(dc_, gdiFont);
    SetTextColor(dc_, colourRef(colour));
    SetBkMode(dc_, TRANSPARENT);
    RECT box = toRect(device(rect));
    const UINT alignment = align == kLeftText ? DT_LEFT : align == kRightText ? DT_RIGHT : DT_CENTER;
    DrawTextA(dc_, text, -1, &box, alignment | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    RestoreDC(dc_, saved);  // also deselects the font before it may be deleted
}

CCoord GdiDrawContext::measureText(const char* text, const CFontDesc& font) {
    HFONT gdiFont = fontFor(font);
    const int saved = SaveDC(dc_);
    if (gdiFont) SelectObject(dc_, gdiFont);
    SIZE size{};
    GetTextExtentPoint32A(dc_, text, static_cast<int>(std::strlen(text)), &size);
    RestoreDC(dc_, saved);
    return static_cast<CCoord>(std::lround(size.cx / getScale()));
}

HFONT GdiDrawContext::fontFor(const CFontDesc& font) {
    if (font_ && sameFont(font, fontDesc_)) return font_;
    if (font_) DeleteObject(font_);
    fontDesc_ = font;
    const int size = toDevice(font.getSize() > 0 ? font.getSize() : kNormalFont.getSize(), getScale());
    // A negative height asks for the character height, as the font size means on other systems.
    font_ = CreateFontA(-size, 0, 0, 0, (font.getStyle() & kBoldFace) ? FW_BOLD : FW_NORMAL,
                        (font.getStyle() & kItalicFace) ? TRUE : FALSE, FALSE, FALSE, ANSI_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                        font.getName());
    return font_;
}

}  // namespace MX::toolkit
