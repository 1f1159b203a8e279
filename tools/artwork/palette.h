// Reduces true-colour artwork to palette images. One palette serves all the
// 8-bit bitmaps, so equal source pixels stay equal across them.
// Any thread (constants).
#pragma once

#include <cstdint>
#include <vector>

#include "toolkit/pixel_image.h"

namespace MX::artwork {

struct IndexedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> palette;  // 0xFFRRGGBB
    std::vector<std::uint8_t> indices;   // rows top to bottom
};

// At most `maxColours` colours for all `images`. Colours in `exact`, and the
// most used ones, are kept as they are; the rest are merged by median cut.
std::vector<std::uint32_t> buildPalette(const std::vector<const toolkit::PixelImage*>& images,
                                        const std::vector<std::uint32_t>& exact, std::size_t maxColours);

// Each pixel becomes its nearest palette colour; the result's palette holds
// only the colours the image uses, in `palette`'s order.
IndexedImage indexImage(const toolkit::PixelImage& image, const std::vector<std::uint32_t>& palette);

// The image as its palette colours.
toolkit::PixelImage expand(const IndexedImage& image);

}  // namespace MX::artwork
