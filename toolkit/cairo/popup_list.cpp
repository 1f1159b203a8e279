#include "toolkit/cairo/popup_list.h"

#include <cairo.h>

#include <algorithm>

#include "toolkit/cairo/cairo_draw_context.h"
#include "toolkit/font.h"

namespace MX::toolkit {

namespace {

constexpr CCoord kEdge = 1;
constexpr CCoord kMarkSize = 3;

int rowCount(const PopupMenuRequest& request) { return static_cast<int>(request.titles.size()); }

// Measured on a scratch surface: the size is wanted before any window exists.
CCoord widestTitle(const PopupMenuRequest& request, double scale) {
    cairo_surface_t* scratch = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, 1, 1);
    cairo_t* cr = cairo_create(scratch);
    CCoord widest = 0;
    {
        CairoDrawContext context(cr, CRect(0, 0, 1, 1), scale);
        context.setFont(kNormalFont);
        for (const std::string& title : request.titles) {
            widest = std::max(widest, context.getStringWidth(title.c_str()));
        }
    }
    cairo_destroy(cr);
    cairo_surface_destroy(scratch);
    return widest;
}

}  // namespace

CRect popupListSize(const PopupMenuRequest& request, double scale) {
    if (rowCount(request) == 0) return CRect();
    const CCoord width = std::max(request.anchor.width(), widestTitle(request, scale) + 2 * kPopupTextInset);
    return CRect(0, 0, width, rowCount(request) * kPopupRowHeight + 2 * kEdge);
}

int popupListRowAt(const PopupMenuRequest& request, const CRect& size, const CPoint& where) {
    if (where.x < 0 || where.x >= size.width() || where.y < kEdge || where.y >= size.height() - kEdge)
        return -1;
    const int row = (where.y - kEdge) / kPopupRowHeight;
    return row < rowCount(request) ? row : -1;
}

void drawPopupList(CDrawContext& context, const CRect& area, const PopupMenuRequest& request,
                   int highlighted) {
    CRect oldClip;
    context.getClipRect(oldClip);
    context.setClipRect(CRect(area).bound(oldClip));
    context.setFillColor(kPopupEdgeColour);
    context.fillRect(area);
    context.setFont(kNormalFont);
    context.setFontColor(kWhiteCColor);
    for (int i = 0; i < rowCount(request); ++i) {
        const CCoord top = area.top + kEdge + i * kPopupRowHeight;
        const CRect row(area.left + kEdge, top, area.right - kEdge, top + kPopupRowHeight);
        context.setFillColor(i == highlighted ? kPopupHighlightColour : kPopupListColour);
        context.fillRect(row);
        if (i == request.checkedIndex) {
            const CCoord markTop = row.top + (kPopupRowHeight - kMarkSize) / 2;
            context.setFillColor(kWhiteCColor);
            context.fillRect(CRect(row.left + 1, markTop, row.left + 1 + kMarkSize, markTop + kMarkSize));
        }
        const CRect text(row.left + kPopupTextInset, row.top, row.right, row.bottom);
        context.drawString(request.titles[static_cast<std::size_t>(i)].c_str(), text, false, kLeftText);
    }
    context.setClipRect(oldClip);
}

}  // namespace MX::toolkit
