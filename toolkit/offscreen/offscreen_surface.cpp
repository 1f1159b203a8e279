#include "toolkit/offscreen/offscreen_surface.h"

#include <cairo.h>

#include "toolkit/cairo/cairo_draw_context.h"
#include "toolkit/display_scale.h"

namespace MX::toolkit {

OffscreenSurface::OffscreenSurface(const CRect& area, double scale)
    : area_(area),
      scale_(scale),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, area.isEmpty() ? 0 : deviceArea().width(),
                                          area.isEmpty() ? 0 : deviceArea().height())),
      cr_(cairo_create(surface_)) {
    cairo_translate(cr_, -deviceArea().left, -deviceArea().top);
    cairo_set_source_rgb(cr_, 0, 0, 0);
    cairo_paint(cr_);
    context_ = std::make_unique<CairoDrawContext>(cr_, area, scale);
}

CRect OffscreenSurface::deviceArea() const { return toDevice(area_, scale_); }

OffscreenSurface::~OffscreenSurface() {
    context_.reset();
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

bool OffscreenSurface::valid() const { return cairo_status(cr_) == CAIRO_STATUS_SUCCESS; }

CDrawContext& OffscreenSurface::context() { return *context_; }

std::uint32_t OffscreenSurface::pixel(CCoord x, CCoord y) const {
    const CRect device = deviceArea();
    if (!valid() || !device.pointInside(CPoint(x, y))) return 0;
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    const auto* row =
        reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y - device.top) * stride);
    return row[x - device.left];
}

bool OffscreenSurface::savePng(const char* path) const {
    if (!path || !valid()) return false;
    cairo_surface_flush(surface_);
    return cairo_surface_write_to_png(surface_, path) == CAIRO_STATUS_SUCCESS;
}

}  // namespace MX::toolkit
