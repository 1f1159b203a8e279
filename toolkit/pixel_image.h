// A decoded picture: rows from top to bottom, each pixel a 0xAARRGGBB word.
// UI thread.
#pragma once

#include <cstdint>
#include <vector>

namespace MX::toolkit {

struct PixelImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    bool empty() const { return width <= 0 || height <= 0; }
    std::uint32_t at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

}  // namespace MX::toolkit
