// A picture of the window in a few states, drawn with the toolkit the way the
// editor shows it, scaled up for a person to look at.
// The tool's single thread.
#pragma once

#include <string>

#include "toolkit/pixel_image.h"

namespace MX::artwork {

struct DecodedArtwork {
    toolkit::PixelImage window, busPanel, lights, layouts, menuFace, menuIcons;
};

void writePreview(const DecodedArtwork& art, const std::string& path, int scale);

}  // namespace MX::artwork
