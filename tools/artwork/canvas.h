// A cairo drawing surface for the artwork, with the few shapes and the text
// styles the panel uses, read back as opaque pixels.
// The tool's single thread.
#pragma once

#include <cairo.h>

#include <cstdint>

#include "toolkit/pixel_image.h"

namespace MX::artwork {

struct Rgb {
    std::uint8_t r, g, b;
    constexpr std::uint32_t pixel() const {
        return 0xFF000000u | std::uint32_t{r} << 16 | std::uint32_t{g} << 8 | b;
    }
};

enum class Align { Left, Centre, Right };

struct TextStyle {
    double size = 10.0;
    bool bold = false;
    double letterSpacing = 0.0;  // extra pixels after each character
    Rgb colour{255, 255, 255};
};

class Canvas {
public:
    // `width` x `height` in the window's pixels, drawn at `scale` (1 or 2)
    // device pixels each: coordinates stay those of the 1x artwork.
    Canvas(int width, int height, int scale = 1);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() { return cr_; }

    void fill(double x, double y, double w, double h, Rgb colour);
    void roundedRect(double x, double y, double w, double h, double radius, Rgb colour);
    // One-pixel line (`scale` device pixels wide) between pixel centres of whole-pixel points.
    void line(int x0, int y0, int x1, int y1, Rgb colour);
    void circle(double cx, double cy, double radius, Rgb colour);
    // Text with its baseline at `baseline`, anchored at `x` as `align` says; returns its width.
    double text(const char* text, double x, double baseline, const TextStyle& style,
                Align align = Align::Left);
    double textWidth(const char* text, const TextStyle& style);

    toolkit::PixelImage pixels();  // device pixels

private:
    void selectFont(const TextStyle& style);

    int width_;
    int height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

// Each pixel of `image` as a `scale` x `scale` block: pixel art stays exact.
toolkit::PixelImage enlarge(const toolkit::PixelImage& image, int scale);

// Copies the `w` x `h` block at (sx, sy) of `from` to (dx, dy) of `to`; no bounds
// are checked beyond what the artwork needs, so callers keep inside both images.
void paste(toolkit::PixelImage& to, int dx, int dy, const toolkit::PixelImage& from, int sx, int sy, int w,
           int h);

}  // namespace MX::artwork
