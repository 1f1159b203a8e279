// The pop-up menu's item list as the cairo backends draw it: one row per
// title in the bus menu face's look (white "Arial" 12 on (60, 65, 68)), one
// highlighted row, a mark before the checked item and a one-pixel grey edge.
// Shared by the X11 pop-up window and the editor's offscreen pictures.
// UI thread.
#pragma once

#include "toolkit/backend.h"
#include "toolkit/color.h"
#include "toolkit/geometry.h"

namespace MX::toolkit {

class CDrawContext;

inline constexpr CCoord kPopupRowHeight = 16;
inline constexpr CCoord kPopupTextInset = 6;
inline constexpr CColor kPopupListColour{60, 65, 68, 255};
inline constexpr CColor kPopupHighlightColour{104, 112, 117, 255};
inline constexpr CColor kPopupEdgeColour{128, 128, 128, 255};

// The list's size at (0, 0) in frame pixels: as wide as the anchor or as the
// widest title (measured as drawn at `scale`) with its insets, whichever is
// wider; one row per title plus the edge.
CRect popupListSize(const PopupMenuRequest& request, double scale = 1.0);
// The row at `where`, in list coordinates (0, 0 at the list's top left), or -1.
int popupListRowAt(const PopupMenuRequest& request, const CRect& size, const CPoint& where);
// Draws the list into `area`; row `highlighted` (-1 for none) in the highlight colour.
void drawPopupList(CDrawContext& context, const CRect& area, const PopupMenuRequest& request,
                   int highlighted);

}  // namespace MX::toolkit
