#include "toolkit/param_display.h"

#include <cstdio>

#include "toolkit/bitmap.h"
#include "toolkit/draw_context.h"

namespace MX::toolkit {

CParamDisplay::CParamDisplay(const CRect& size, CBitmap* background, std::int32_t style)
    : CControl(size, nullptr, 0, background), style_(style) {}

void CParamDisplay::draw(CDrawContext* context) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(getValue()));
    drawText(context, text);
}

void CParamDisplay::drawText(CDrawContext* context, const char* text, CBitmap* newBack) {
    setDirty(false);
    if (!context || (style_ & kNoDrawStyle)) return;

    const CRect& size = getViewSize();
    if (newBack) {
        newBack->draw(context, size, getBackOffset());
    } else if (CBitmap* background = getBackground()) {
        background->draw(context, size, getBackOffset());
    } else {
        context->setFillColor(backColour_);
        context->fillRect(size);
    }
    if (!text || (style_ & kNoTextStyle)) return;

    CRect oldClip;
    context->getClipRect(oldClip);
    context->setClipRect(CRect(size).bound(oldClip));
    context->setFont(font_);
    if (style_ & kShadowText) {
        context->setFontColor(shadowColour_);
        context->drawString(text, CRect(size).offset(1, 1), false, align_);
    }
    context->setFontColor(fontColour_);
    context->drawString(text, size, false, align_);
    context->setClipRect(oldClip);
}

}  // namespace MX::toolkit
