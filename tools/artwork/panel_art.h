// The window artwork drawn with cairo: the window background, the bus panel
// that covers part of it while a bus can be chosen, and the strip of output
// layout pictures shown at the left.
// The tool's single thread.
#pragma once

#include "toolkit/pixel_image.h"
#include "tools/artwork/canvas.h"

namespace MX::artwork {

// Window geometry (pixels) shared with the editor's view layout.
inline constexpr int kWindowWidth = 317, kWindowHeight = 59;
inline constexpr int kTileWidth = 56, kTileHeight = 59;  // layout picture, at (0, 0)
inline constexpr int kPanelX = 166, kPanelY = 17;        // bus panel origin
inline constexpr int kPanelWidth = 151, kPanelHeight = 42;
inline constexpr int kFieldX = 5, kFieldY = 23;  // menu, panel-relative
inline constexpr int kFieldWidth = 141, kFieldHeight = 15;
inline constexpr int kLightX = 303, kLightY = 6;

// Plain window colour, also what the lights sit on.
inline constexpr Rgb kWindowColour{36, 39, 43};

// Sizes are at scale 1; `scale` (1 or 2) multiplies them.
// 56 x 295: Off, Mono, Stereo, Quad and Surround, 59 rows each.
toolkit::PixelImage drawChannelLayouts(int scale = 1);

struct WindowArt {
    toolkit::PixelImage background;  // 317 x 59, no bus panel: shown while nothing can connect
    toolkit::PixelImage busPanel;    // 151 x 42, cut from the window as it looks with the panel
};
// `offLayout` (56 x 59) and `darkLight` (7 x 7), at the same scale, are copied
// into the background exactly, so the views drawn over those places match it
// pixel for pixel.
WindowArt drawWindow(const toolkit::PixelImage& offLayout, const toolkit::PixelImage& darkLight,
                     int scale = 1);

}  // namespace MX::artwork
