#include "toolkit/cairo/cairo_draw_context.h"

#include <cmath>

#include "toolkit/bitmap.h"
#include "toolkit/cairo/utf8_text.h"

namespace MX::toolkit {

namespace {

void setColour(cairo_t* cr, const CColor& c) {
    cairo_set_source_rgba(cr, c.red / 255.0, c.green / 255.0, c.blue / 255.0, c.alpha / 255.0);
}

void addRect(cairo_t* cr, const CRect& r) { cairo_rectangle(cr, r.left, r.top, r.width(), r.height()); }

}  // namespace

CairoDrawContext::CairoDrawContext(cairo_t* cr, const CRect& surface, double scale)
    : CDrawContext(surface, scale), cr_(cr) {}

void CairoDrawContext::fillPixels(const CRect& area, const CColor& colour) {
    cairo_save(cr_);
    setColour(cr_, colour);
    addRect(cr_, device(area));
    cairo_fill(cr_);
    cairo_restore(cr_);
}

void CairoDrawContext::copyPixels(const CBitmap& bitmap, const CRect& area, const CPoint& source) {
    const double scale = getScale();
    int imageScale = 1;
    const PixelImage& image = bitmap.imageFor(scale, imageScale);
    // Bitmap pixels are opaque 0xAARRGGBB words, which is cairo's ARGB32 layout;
    // cairo only reads from a source surface.
    auto* data = reinterpret_cast<unsigned char*>(const_cast<std::uint32_t*>(image.pixels.data()));
    cairo_surface_t* pixels = cairo_image_surface_create_for_data(data, CAIRO_FORMAT_ARGB32, image.width,
                                                                  image.height, image.width * 4);
    // At its own size, or twice it: pixel for pixel. Otherwise only the copied
    // part is sampled, smoothly, so neighbouring pictures of a strip stay out.
    const bool exact = scale == imageScale || scale == 2.0 * imageScale;
    cairo_surface_t* part =
        exact ? cairo_surface_reference(pixels)
              : cairo_surface_create_for_rectangle(pixels, source.x * imageScale, source.y * imageScale,
                                                   area.width() * imageScale, area.height() * imageScale);
    if (cairo_surface_status(part) == CAIRO_STATUS_SUCCESS) {
        const CPoint origin = exact ? CPoint(area.left - source.x, area.top - source.y) : area.topLeft();
        cairo_matrix_t toImage;
        cairo_matrix_init_scale(&toImage, imageScale / scale, imageScale / scale);
        cairo_matrix_translate(&toImage, -origin.x * scale, -origin.y * scale);
        cairo_save(cr_);
        cairo_set_operator(cr_, CAIRO_OPERATOR_SOURCE);
        cairo_set_source_surface(cr_, part, 0, 0);
        cairo_pattern_t* pattern = cairo_get_source(cr_);
        cairo_pattern_set_matrix(pattern, &toImage);
        cairo_pattern_set_filter(pattern, exact ? CAIRO_FILTER_NEAREST : CAIRO_FILTER_GOOD);
        if (!exact) cairo_pattern_set_extend(pattern, CAIRO_EXTEND_PAD);
        addRect(cr_, device(area));
        cairo_fill(cr_);
        cairo_restore(cr_);
    }
    cairo_surface_destroy(part);
    cairo_surface_destroy(pixels);
}

void CairoDrawContext::selectFont(const CFontDesc& font) {
    cairo_select_font_face(
        cr_, font.getName(),
        (font.getStyle() & kItalicFace) ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
        (font.getStyle() & kBoldFace) ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, (font.getSize() > 0 ? font.getSize() : kNormalFont.getSize()) * getScale());
}

void CairoDrawContext::showText(const char* text, const CRect& frameRect, CHoriTxtAlign align,
                                const CFontDesc& font, const CColor& colour, const CRect& clip) {
    const CRect rect = device(frameRect);
    cairo_save(cr_);
    addRect(cr_, device(clip));
    cairo_clip(cr_);
    selectFont(font);
    cairo_font_extents_t fontExtents;
    cairo_font_extents(cr_, &fontExtents);
    const std::string valid = validUtf8(text);
    cairo_text_extents_t textExtents;
    cairo_text_extents(cr_, valid.c_str(), &textExtents);

    double x = rect.left;
    if (align == kCenterText) x += (rect.width() - textExtents.x_advance) / 2.0;
    if (align == kRightText) x = rect.right - textExtents.x_advance;
    // Centred line box, baseline on a whole pixel for crisp glyphs.
    const double baseline =
        rect.top + (rect.height() - (fontExtents.ascent + fontExtents.descent)) / 2.0 + fontExtents.ascent;
    setColour(cr_, colour);
    cairo_move_to(cr_, std::round(x), std::round(baseline));
    cairo_show_text(cr_, valid.c_str());
    cairo_restore(cr_);
}

CCoord CairoDrawContext::measureText(const char* text, const CFontDesc& font) {
    cairo_save(cr_);
    selectFont(font);
    cairo_text_extents_t extents;
    cairo_text_extents(cr_, validUtf8(text).c_str(), &extents);
    cairo_restore(cr_);
    return static_cast<CCoord>(std::lround(extents.x_advance / getScale()));
}

}  // namespace MX::toolkit
