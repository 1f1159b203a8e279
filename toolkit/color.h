// Colours as 8-bit red, green, blue and alpha (255 = opaque).
// Plain values: any thread.
#pragma once

#include <cstdint>

namespace MX::toolkit {

struct CColor {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t alpha = 255;

    friend constexpr bool operator==(const CColor&, const CColor&) = default;
};

constexpr CColor MakeCColor(std::uint8_t red, std::uint8_t green, std::uint8_t blue,
                            std::uint8_t alpha = 255) {
    return CColor{red, green, blue, alpha};
}

// Pixels of bitmaps and drawing surfaces are 0xAARRGGBB words.
constexpr std::uint32_t toPixel(const CColor& c) {
    return std::uint32_t{c.alpha} << 24 | std::uint32_t{c.red} << 16 | std::uint32_t{c.green} << 8 | c.blue;
}
constexpr CColor fromPixel(std::uint32_t p) {
    return CColor{static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                  static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 24)};
}

inline constexpr CColor kBlackCColor{0, 0, 0, 255};
inline constexpr CColor kWhiteCColor{255, 255, 255, 255};
inline constexpr CColor kGreyCColor{128, 128, 128, 255};
inline constexpr CColor kRedCColor{255, 0, 0, 255};

}  // namespace MX::toolkit
