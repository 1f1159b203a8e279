// Decoder for the Windows bitmaps the editor ships: 4-bit and 8-bit palette
// images, uncompressed or (8-bit) run-length encoded, bottom-up or top-down.
// Every read is checked against the input, so malformed or truncated data is
// refused (false, image left empty) and never read or written past a buffer.
// UI thread.
#pragma once

#include <cstdint>
#include <span>

#include "toolkit/pixel_image.h"

namespace MX::toolkit {

// Largest accepted image, in pixels per side and in total.
inline constexpr int kBmpMaxSide = 16384;
inline constexpr std::int64_t kBmpMaxPixels = std::int64_t{1} << 24;

// A .bmp file: BITMAPFILEHEADER, BITMAPINFOHEADER (or a later, longer one), palette, pixels.
bool decodeBmp(std::span<const std::uint8_t> file, PixelImage& image);

// A packed DIB as Windows stores bitmap resources: the same without the file header,
// pixels right after the palette.
bool decodeDib(std::span<const std::uint8_t> dib, PixelImage& image);

}  // namespace MX::toolkit
