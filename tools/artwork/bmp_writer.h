// Writes palette images as Windows BMP files: BITMAPFILEHEADER,
// BITMAPINFOHEADER, the palette (only the colours used) and bottom-up rows.
// The tool's single thread.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/artwork/palette.h"

namespace MX::artwork {

enum class BmpEncoding {
    Palette4,     // 4 bits per pixel, at most 16 colours
    Palette8,     // 8 bits per pixel
    Palette8Rle,  // 8 bits per pixel, run-length encoded (BI_RLE8)
};

std::vector<std::uint8_t> encodeBmp(const IndexedImage& image, BmpEncoding encoding);
void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);

}  // namespace MX::artwork
