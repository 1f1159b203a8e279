#include "tools/artwork/pixel_art.h"

#include <cmath>

namespace MX::artwork {

namespace {

Rgb mix(Rgb a, Rgb b, double t) {
    auto channel = [t](int x, int y) { return static_cast<std::uint8_t>(std::lround(x + (y - x) * t)); };
    return {channel(a.r, b.r), channel(a.g, b.g), channel(a.b, b.b)};
}

struct Lamp {
    Rgb centre;
    Rgb rim;
};

// Lit disc with a dark housing ring. The disc is flat within 0.8 px of the
// middle so the centre pixel keeps the lamp's exact colour.
Rgb lampSample(const Lamp& lamp, Rgb housing, Rgb background, double r) {
    constexpr double kFlat = 0.8, kDisc = 2.6, kRing = 3.45;
    if (r <= kFlat) return lamp.centre;
    if (r <= kDisc) return mix(lamp.centre, lamp.rim, (r - kFlat) / (kDisc - kFlat));
    if (r <= kRing) return housing;
    return background;
}

// Sampled in the 1x lamp's coordinates, `scale` device pixels per pixel.
void drawLamp(toolkit::PixelImage& image, int top, const Lamp& lamp, Rgb background, int scale) {
    constexpr Rgb kHousing{22, 24, 27};
    constexpr int kSamples = 4;
    const double centre = kLightSize / 2.0;
    const int size = kLightSize * scale;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double r = 0, g = 0, b = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const double px = (x + (sx + 0.5) / kSamples) / scale - centre;
                    const double py = (y + (sy + 0.5) / kSamples) / scale - centre;
                    const Rgb c = lampSample(lamp, kHousing, background, std::hypot(px, py));
                    r += c.r, g += c.g, b += c.b;
                }
            }
            constexpr double n = kSamples * kSamples;
            const Rgb c{static_cast<std::uint8_t>(std::lround(r / n)),
                        static_cast<std::uint8_t>(std::lround(g / n)),
                        static_cast<std::uint8_t>(std::lround(b / n))};
            image.pixels[static_cast<std::size_t>(top + y) * size + x] = c.pixel();
        }
    }
}

// The icon's parts: the four outline lines and the six 3 x 3 marks.
enum Part : unsigned {
    kTopLine = 1 << 0,
    kBottomLine = 1 << 1,
    kLeftLine = 1 << 2,
    kRightLine = 1 << 3,
    kTopLeft = 1 << 4,
    kTopRight = 1 << 5,
    kBottomLeft = 1 << 6,
    kBottomRight = 1 << 7,
    kTopMiddle = 1 << 8,
    kCentre = 1 << 9,
};
constexpr unsigned kLines = kTopLine | kBottomLine | kLeftLine | kRightLine;
constexpr unsigned kCorners = kTopLeft | kTopRight | kBottomLeft | kBottomRight;

// Active parts of icons 0 to 4.
constexpr unsigned kActiveParts[kLayoutCount] = {
    0,
    kTopMiddle,
    kTopLeft | kTopRight | kTopLine,
    kCorners | kLines,
    kCorners | kLines | kTopMiddle | kCentre,
};

}  // namespace

toolkit::PixelImage drawLights(Rgb background, int scale) {
    const int size = kLightSize * scale;
    toolkit::PixelImage image{
        size, 3 * size,
        std::vector<std::uint32_t>(static_cast<std::size_t>(size) * 3 * size, background.pixel())};
    drawLamp(image, 0, {kLightGreen, {0, 120, 24}}, background, scale);
    drawLamp(image, size, {kLightRed, {128, 8, 8}}, background, scale);
    drawLamp(image, 2 * size, {kLightDark, {50, 50, 52}}, background, scale);
    return image;
}

// Pixel art: the 2x icons are the 1x ones with each pixel doubled.
toolkit::PixelImage drawMenuIcons(int scale) {
    if (scale != 1) return enlarge(drawMenuIcons(1), scale);
    toolkit::PixelImage image{
        kIconSize, kLayoutCount * kIconSize,
        std::vector<std::uint32_t>(kIconSize * kLayoutCount * kIconSize, kMenuFace.pixel())};
    for (int icon = 0; icon < kLayoutCount; ++icon) {
        const unsigned active = kActiveParts[icon];
        auto set = [&](int x, int y, unsigned part) {
            const Rgb c = (active & part) ? kIconActive : kIconInactive;
            image.pixels[static_cast<std::size_t>(icon * kIconSize + y) * kIconSize + x] = c.pixel();
        };
        // Outline on rows 1 and 9 and columns 1 and 9, then the marks over it.
        for (int i = 1; i <= 9; ++i) {
            set(i, 1, kTopLine);
            set(i, 9, kBottomLine);
            set(1, i, kLeftLine);
            set(9, i, kRightLine);
        }
        const struct {
            int x, y;
            unsigned part;
        } marks[] = {{1, 1, kTopLeft},     {9, 1, kTopRight},  {1, 9, kBottomLeft},
                     {9, 9, kBottomRight}, {5, 1, kTopMiddle}, {5, 5, kCentre}};
        for (const auto& mark : marks) {
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) set(mark.x + dx, mark.y + dy, mark.part);
            }
        }
    }
    return image;
}

toolkit::PixelImage drawMenuFace(int scale) {
    const int width = 141 * scale, height = 15 * scale;
    return {width, height,
            std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, kMenuFace.pixel())};
}

}  // namespace MX::artwork
