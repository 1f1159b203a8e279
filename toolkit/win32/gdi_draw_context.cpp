#include "toolkit/win32/gdi_draw_context.h"

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

GdiDrawContext::GdiDrawContext(HDC dc, const CRect& surface) : CDrawContext(surface), dc_(dc) {}

GdiDrawContext::~GdiDrawContext() {
    if (font_) DeleteObject(font_);
}

void GdiDrawContext::fillPixels(const CRect& area, const CColor& colour) {
    SetDCBrushColor(dc_, colourRef(colour));
    const RECT rect = toRect(area);
    FillRect(dc_, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void GdiDrawContext::copyPixels(const CBitmap& bitmap, const CRect& area, const CPoint& source) {
    const PixelImage& image = bitmap.image();
    // A top-down 32-bit DIB starting at the first source row: its words are
    // the bitmap's 0xAARRGGBB pixels (blue first in memory, as GDI wants).
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -area.height();
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const std::uint32_t* firstRow = image.pixels.data() + static_cast<std::size_t>(source.y) * image.width;
    StretchDIBits(dc_, area.left, area.top, area.width(), area.height(), source.x, 0, area.width(),
                  area.height(), firstRow, &info, DIB_RGB_COLORS, SRCCOPY);
}

void GdiDrawContext::showText(const char* text, const CRect& rect, CHoriTxtAlign align, const CFontDesc& font,
                              const CColor& colour, const CRect& clip) {
    HFONT gdiFont = fontFor(font);
    const int saved = SaveDC(dc_);
    IntersectClipRect(dc_, clip.left, clip.top, clip.right, clip.bottom);
    if (gdiFont) SelectObject(dc_, gdiFont);
    SetTextColor(dc_, colourRef(colour));
    SetBkMode(dc_, TRANSPARENT);
    RECT box = toRect(rect);
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
    return size.cx;
}

HFONT GdiDrawContext::fontFor(const CFontDesc& font) {
    if (font_ && sameFont(font, fontDesc_)) return font_;
    if (font_) DeleteObject(font_);
    fontDesc_ = font;
    const int size = font.getSize() > 0 ? font.getSize() : kNormalFont.getSize();
    // A negative height asks for the character height, as the font size means on other systems.
    font_ = CreateFontA(-size, 0, 0, 0, (font.getStyle() & kBoldFace) ? FW_BOLD : FW_NORMAL,
                        (font.getStyle() & kItalicFace) ? TRUE : FALSE, FALSE, FALSE, ANSI_CHARSET,
                        OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                        font.getName());
    return font_;
}

}  // namespace MX::toolkit
