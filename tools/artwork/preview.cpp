#include "tools/artwork/preview.h"

#include <cairo.h>

#include <stdexcept>
#include <vector>

#include "toolkit/bitmap.h"
#include "toolkit/draw_context.h"
#include "toolkit/offscreen/offscreen_surface.h"
#include "tools/artwork/panel_art.h"

namespace MX::artwork {

namespace {

using toolkit::CBitmap;
using toolkit::CPoint;
using toolkit::CRect;

struct State {
    int layout;         // channel picture, -1: none drawn over the background
    int light;          // light picture, -1: panel, menu and light hidden
    int icon;           // menu icon
    const char* title;  // menu face text
};

// Bitmaps as the views hold them; released when the preview is done.
struct Bitmaps {
    explicit Bitmaps(const DecodedArtwork& art)
        : window(new CBitmap(art.window)),
          panel(new CBitmap(art.busPanel)),
          lights(new CBitmap(art.lights)),
          layouts(new CBitmap(art.layouts)),
          face(new CBitmap(art.menuFace)),
          icons(new CBitmap(art.menuIcons)) {}
    ~Bitmaps() {
        for (CBitmap* b : {window, panel, lights, layouts, face, icons}) b->forget();
    }
    CBitmap *window, *panel, *lights, *layouts, *face, *icons;
};

void drawState(toolkit::CDrawContext& context, const Bitmaps& b, const State& s, int top) {
    const auto at = [top](int l, int t, int r, int bt) { return CRect(l, t + top, r, bt + top); };
    b.window->draw(&context, at(0, 0, kWindowWidth, kWindowHeight));
    if (s.layout >= 0)
        b.layouts->draw(&context, at(0, 0, kTileWidth, kTileHeight), CPoint(0, s.layout * kTileHeight));
    if (s.light < 0) return;
    b.panel->draw(&context, at(kPanelX, kPanelY, kPanelX + kPanelWidth, kPanelY + kPanelHeight));

    const CRect menu = at(kPanelX + kFieldX, kPanelY + kFieldY, kPanelX + kFieldX + kFieldWidth,
                          kPanelY + kFieldY + kFieldHeight);
    b.face->draw(&context, menu);
    b.icons->draw(&context, CRect(menu.left + 3, menu.top + 2, menu.left + 14, menu.top + 13),
                  CPoint(0, 11 * s.icon));
    CRect clip;
    context.getClipRect(clip);
    context.setClipRect(menu);
    context.setFont(toolkit::kNormalFont);
    context.setFontColor(toolkit::kWhiteCColor);
    context.drawString(s.title, CRect(menu.left + 15, menu.top, menu.right, menu.bottom), false,
                       toolkit::kLeftText);
    context.setClipRect(clip);

    b.lights->draw(&context, at(kLightX, kLightY, kLightX + 7, kLightY + 7), CPoint(0, 7 * s.light));
}

}  // namespace

void writePreview(const DecodedArtwork& art, const std::string& path, int scale) {
    const State states[] = {
        {1, -1, 0, nullptr},
        {2, 0, 2, "01: Output Bus 1 (2.0)"},
        {4, 1, 4, "02: Drums and a very long bus name (5.1)"},
        {0, 2, 0, " <Not Connected>"},
    };
    constexpr int kGap = 6;
    const int count = static_cast<int>(std::size(states));
    const int height = count * (kWindowHeight + kGap) - kGap;
    toolkit::OffscreenSurface surface(CRect(0, 0, kWindowWidth, height));
    {
        toolkit::CDrawContext& context = surface.context();
        context.setFillColor(toolkit::MakeCColor(90, 90, 90));
        context.fillRect(CRect(0, 0, kWindowWidth, height));
        const Bitmaps bitmaps(art);
        for (int i = 0; i < count; ++i) drawState(context, bitmaps, states[i], i * (kWindowHeight + kGap));
    }

    cairo_surface_t* big =
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, kWindowWidth * scale, height * scale);
    cairo_t* cr = cairo_create(big);
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>(kWindowWidth) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < kWindowWidth; ++x)
            pixels[static_cast<std::size_t>(y) * kWindowWidth + x] = surface.pixel(x, y);
    }
    cairo_surface_t* small =
        cairo_image_surface_create_for_data(reinterpret_cast<unsigned char*>(pixels.data()),
                                            CAIRO_FORMAT_RGB24, kWindowWidth, height, kWindowWidth * 4);
    cairo_scale(cr, scale, scale);
    cairo_set_source_surface(cr, small, 0, 0);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_NEAREST);
    cairo_paint(cr);
    const cairo_status_t status = cairo_surface_write_to_png(big, path.c_str());
    cairo_destroy(cr);
    cairo_surface_destroy(small);
    cairo_surface_destroy(big);
    if (status != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot write " + path);
}

}  // namespace MX::artwork
