// The bitmaps drawn pixel by pixel: the status lights and the menu's small
// speaker-layout icons, whose exact pixels matter more than smooth shapes.
// The tool's single thread.
#pragma once

#include "toolkit/pixel_image.h"
#include "tools/artwork/canvas.h"

namespace MX::artwork {

// Centre pixels of the three lights; kept exact through quantization.
inline constexpr Rgb kLightGreen{0, 235, 1};
inline constexpr Rgb kLightRed{240, 0, 0};
inline constexpr Rgb kLightDark{75, 74, 74};
inline constexpr int kLightSize = 7;

// Menu face colours; the icon palette is exactly these three.
inline constexpr Rgb kMenuFace{60, 65, 68};
inline constexpr Rgb kIconInactive{128, 128, 128};
inline constexpr Rgb kIconActive{255, 255, 255};
inline constexpr int kIconSize = 11;
inline constexpr int kLayoutCount = 5;  // off, mono, stereo, quad, surround

// Sizes below are at scale 1; `scale` (1 or 2) multiplies them.
// 7 x 21: green, red and dark lights stacked, each on `background`.
toolkit::PixelImage drawLights(Rgb background, int scale = 1);
// 11 x 55: the five layout icons stacked.
toolkit::PixelImage drawMenuIcons(int scale = 1);
// 141 x 15 of the menu face colour.
toolkit::PixelImage drawMenuFace(int scale = 1);

}  // namespace MX::artwork
