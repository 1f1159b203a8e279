#include "tools/artwork/canvas.h"

#include <cmath>
#include <cstring>
#include <stdexcept>
#include <string>

namespace MX::artwork {

namespace {

void setColour(cairo_t* cr, Rgb c) { cairo_set_source_rgb(cr, c.r / 255.0, c.g / 255.0, c.b / 255.0); }

}  // namespace

Canvas::Canvas(int width, int height, int scale)
    : width_(width * scale),
      height_(height * scale),
      surface_(cairo_image_surface_create(CAIRO_FORMAT_RGB24, width_, height_)),
      cr_(cairo_create(surface_)) {
    if (cairo_status(cr_) != CAIRO_STATUS_SUCCESS) throw std::runtime_error("cannot create a cairo surface");
    cairo_scale(cr_, scale, scale);
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_SLIGHT);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void Canvas::fill(double x, double y, double w, double h, Rgb colour) {
    setColour(cr_, colour);
    cairo_rectangle(cr_, x, y, w, h);
    cairo_fill(cr_);
}

void Canvas::roundedRect(double x, double y, double w, double h, double radius, Rgb colour) {
    constexpr double kQuarter = 1.5707963267948966;
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x + w - radius, y + radius, radius, -kQuarter, 0);
    cairo_arc(cr_, x + w - radius, y + h - radius, radius, 0, kQuarter);
    cairo_arc(cr_, x + radius, y + h - radius, radius, kQuarter, 2 * kQuarter);
    cairo_arc(cr_, x + radius, y + radius, radius, 2 * kQuarter, 3 * kQuarter);
    cairo_close_path(cr_);
    setColour(cr_, colour);
    cairo_fill(cr_);
}

void Canvas::line(int x0, int y0, int x1, int y1, Rgb colour) {
    setColour(cr_, colour);
    cairo_set_line_width(cr_, 1.0);
    cairo_set_line_cap(cr_, CAIRO_LINE_CAP_SQUARE);
    cairo_move_to(cr_, x0 + 0.5, y0 + 0.5);
    cairo_line_to(cr_, x1 + 0.5, y1 + 0.5);
    cairo_stroke(cr_);
}

void Canvas::circle(double cx, double cy, double radius, Rgb colour) {
    setColour(cr_, colour);
    cairo_arc(cr_, cx, cy, radius, 0, 6.283185307179586);
    cairo_fill(cr_);
}

void Canvas::selectFont(const TextStyle& style) {
    cairo_select_font_face(cr_, "Liberation Sans", CAIRO_FONT_SLANT_NORMAL,
                           style.bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr_, style.size);
}

double Canvas::textWidth(const char* text, const TextStyle& style) {
    selectFont(style);
    if (style.letterSpacing == 0.0) {
        cairo_text_extents_t extents;
        cairo_text_extents(cr_, text, &extents);
        return extents.x_advance;
    }
    double width = 0;
    const std::size_t length = std::strlen(text);
    for (std::size_t i = 0; i < length; ++i) {
        const char glyph[2] = {text[i], '\0'};
        cairo_text_extents_t extents;
        cairo_text_extents(cr_, glyph, &extents);
        width += extents.x_advance + (i + 1 < length ? style.letterSpacing : 0.0);
    }
    return width;
}

double Canvas::text(const char* text, double x, double baseline, const TextStyle& style, Align align) {
    const double width = textWidth(text, style);
    if (align == Align::Centre) x -= width / 2;
    if (align == Align::Right) x -= width;
    selectFont(style);
    setColour(cr_, style.colour);
    double pen = std::round(x);
    if (style.letterSpacing == 0.0) {
        cairo_move_to(cr_, pen, baseline);
        cairo_show_text(cr_, text);
        return width;
    }
    for (const char* p = text; *p; ++p) {
        const char glyph[2] = {*p, '\0'};
        cairo_move_to(cr_, pen, baseline);
        cairo_show_text(cr_, glyph);
        cairo_text_extents_t extents;
        cairo_text_extents(cr_, glyph, &extents);
        pen += extents.x_advance + style.letterSpacing;
    }
    return width;
}

toolkit::PixelImage Canvas::pixels() {
    cairo_surface_flush(surface_);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    toolkit::PixelImage image{width_, height_,
                              std::vector<std::uint32_t>(static_cast<std::size_t>(width_) * height_)};
    for (int y = 0; y < height_; ++y) {
        const auto* row =
            reinterpret_cast<const std::uint32_t*>(data + static_cast<std::ptrdiff_t>(y) * stride);
        for (int x = 0; x < width_; ++x)
            image.pixels[static_cast<std::size_t>(y) * width_ + x] = row[x] | 0xFF000000u;
    }
    return image;
}

toolkit::PixelImage enlarge(const toolkit::PixelImage& image, int scale) {
    toolkit::PixelImage out{image.width * scale, image.height * scale,
                            std::vector<std::uint32_t>(image.pixels.size() * scale * scale)};
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x)
            out.pixels[static_cast<std::size_t>(y) * out.width + x] = image.at(x / scale, y / scale);
    }
    return out;
}

void paste(toolkit::PixelImage& to, int dx, int dy, const toolkit::PixelImage& from, int sx, int sy, int w,
           int h) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            to.pixels[static_cast<std::size_t>(dy + y) * to.width + dx + x] = from.at(sx + x, sy + y);
        }
    }
}

}  // namespace MX::artwork
