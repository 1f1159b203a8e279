// A cairo ARGB32 image in memory with a drawing context on it: what the
// offscreen backend draws frames into, readable pixel by pixel and savable
// as PNG. Linux only.
// UI thread.
#pragma once

#include <cstdint>
#include <memory>

#include "toolkit/color.h"
#include "toolkit/geometry.h"

typedef struct _cairo cairo_t;
typedef struct _cairo_surface cairo_surface_t;

namespace MX::toolkit {

class CDrawContext;
class CairoDrawContext;

class OffscreenSurface {
public:
    // Covers `area` in frame coordinates with `scale` device pixels per frame
    // pixel; starts opaque black.
    explicit OffscreenSurface(const CRect& area, double scale = 1.0);
    ~OffscreenSurface();
    OffscreenSurface(const OffscreenSurface&) = delete;
    OffscreenSurface& operator=(const OffscreenSurface&) = delete;

    bool valid() const;
    const CRect& area() const { return area_; }
    double scale() const { return scale_; }
    // The area in device pixels: the image's own size, at the scaled origin.
    CRect deviceArea() const;
    CDrawContext& context();
    // The image itself, for backends that copy it to a window.
    cairo_surface_t* cairoSurface() const { return surface_; }

    // 0xAARRGGBB at device pixel (x, y) (the frame point at scale 1); 0 outside the surface.
    std::uint32_t pixel(CCoord x, CCoord y) const;
    CColor colorAt(CCoord x, CCoord y) const { return fromPixel(pixel(x, y)); }
    bool savePng(const char* path) const;

private:
    CRect area_;
    double scale_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
    std::unique_ptr<CairoDrawContext> context_;
};

}  // namespace MX::toolkit
