#include "toolkit/draw_context.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "toolkit/bitmap.h"

namespace MX::toolkit {

namespace {

CCoord clampCoord(std::int64_t v) {
    return static_cast<CCoord>(
        std::clamp<std::int64_t>(v, std::numeric_limits<CCoord>::min(), std::numeric_limits<CCoord>::max()));
}

}  // namespace

CDrawContext::CDrawContext(const CRect& surface, double scale)
    : surface_(surface), scale_(scale), clip_(surface) {}

void CDrawContext::setClipRect(const CRect& clip) { clip_ = CRect(clip).bound(surface_); }

CRect& CDrawContext::getClipRect(CRect& clip) const { return clip = clip_; }

void CDrawContext::resetClipRect() { clip_ = surface_; }

void CDrawContext::setFont(const CFontDesc& font, int size, int style) {
    font_ = font;
    if (size > 0) font_.setSize(size);
    if (style >= 0) font_.setStyle(style);
}

void CDrawContext::fillRect(const CRect& rect) {
    const CRect area = CRect(rect).bound(clip_);
    if (!area.isEmpty()) fillPixels(area, fillColour_);
}

void CDrawContext::drawString(const char* text, const CRect& rect, bool opaque, CHoriTxtAlign align) {
    if (opaque) fillRect(rect);
    const CRect clip = CRect(rect).bound(clip_);
    if (text && text[0] != '\0' && !clip.isEmpty()) showText(text, rect, align, font_, fontColour_, clip);
}

CCoord CDrawContext::getStringWidth(const char* text) {
    return text && text[0] != '\0' ? measureText(text, font_) : 0;
}

void CDrawContext::drawBitmap(const CBitmap& bitmap, const CRect& dest, const CPoint& source) {
    if (!bitmap.isLoaded()) return;
    // Where the whole bitmap would land, computed wide so extreme offsets cannot overflow.
    const std::int64_t originX = std::int64_t{dest.left} - source.x;
    const std::int64_t originY = std::int64_t{dest.top} - source.y;
    const CRect placed(clampCoord(originX), clampCoord(originY), clampCoord(originX + bitmap.getWidth()),
                       clampCoord(originY + bitmap.getHeight()));
    const CRect area = CRect(dest).bound(clip_).bound(placed);
    if (area.isEmpty()) return;
    copyPixels(bitmap, area,
               CPoint(static_cast<CCoord>(area.left - originX), static_cast<CCoord>(area.top - originY)));
}

}  // namespace MX::toolkit
