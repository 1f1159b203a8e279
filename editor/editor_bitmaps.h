// The editor's six bitmaps, by resource number. Each has a double-size
// drawing at its number + toolkit::kDoubleSizeIdOffset (1101 to 1118), which
// CBitmap loads along and draws from at display scales above 1.
// UI thread.
#pragma once

namespace MX::editor {

enum BitmapId : int {
    kBitmapWindow = 101,          // 317 x 59 window artwork
    kBitmapSelectionPanel = 109,  // 151 x 42 panel behind the bus menu
    kBitmapLights = 110,          // three 7 x 7 lights: green, red, dark
    kBitmapChannelLayouts = 115,  // five 56 x 59 channel pictures
    kBitmapMenuFace = 116,        // 141 x 15 bus menu background
    kBitmapMenuIcons = 118,       // five 11 x 11 channel pictures for the menu items
};

// Makes this OS's editor bitmaps the toolkit's resource provider, unless a
// provider is already set (a test's or a host tool's own). UI thread.
void provideEditorBitmaps() noexcept;

}  // namespace MX::editor
