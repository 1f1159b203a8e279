// Draws the editor's six bitmaps, at 1x and at 2x (the double-size set, for
// display scales above 1), and writes them as BMP files:
//   druvo_artwork <output folder> [<preview.png>]
// Every file is read back with the toolkit's BMP reader and checked: the
// pixels must survive the round trip, the named colours must be exact, and
// the window background must match the pictures drawn over it.
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string>

#include "toolkit/bmp_reader.h"
#include "tools/artwork/bmp_writer.h"
#include "tools/artwork/palette.h"
#include "tools/artwork/panel_art.h"
#include "tools/artwork/pixel_art.h"
#include "tools/artwork/preview.h"

namespace MX::artwork {

namespace {

using toolkit::PixelImage;

PixelImage crop(const PixelImage& image, int x, int y, int w, int h) {
    PixelImage out{w, h, std::vector<std::uint32_t>(static_cast<std::size_t>(w) * h)};
    paste(out, 0, 0, image, x, y, w, h);
    return out;
}

void require(bool condition, const std::string& what) {
    if (!condition) throw std::runtime_error("artwork check failed: " + what);
}

bool sameBlock(const PixelImage& a, int ax, int ay, const PixelImage& b, int bx, int by, int w, int h) {
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (a.at(ax + x, ay + y) != b.at(bx + x, by + y)) return false;
        }
    }
    return true;
}

// Writes the file and returns it decoded, after checking the round trip.
PixelImage save(const std::string& folder, const std::string& name, const IndexedImage& image,
                BmpEncoding encoding) {
    const std::vector<std::uint8_t> bytes = encodeBmp(image, encoding);
    writeFile(folder + "/" + name, bytes);
    PixelImage decoded;
    require(toolkit::decodeBmp(bytes, decoded), name + " does not decode");
    require(decoded.pixels == expand(image).pixels, name + " changes when read back");
    std::printf("%-26s %3d x %3d  %3zu colours  %6zu bytes\n", name.c_str(), image.width, image.height,
                image.palette.size(), bytes.size());
    return decoded;
}

void checkArtwork(const DecodedArtwork& art, int s) {
    require(sameBlock(art.window, 0, 0, art.layouts, 0, 0, kTileWidth * s, kTileHeight * s),
            "window under the layout display differs from the Off picture");
    const int light = kLightSize * s;
    require(sameBlock(art.window, kLightX * s, kLightY * s, art.lights, 0, 2 * light, light, light),
            "window under the light differs from the dark light");
    const int centre = light / 2;
    require(art.lights.at(centre, centre) == kLightGreen.pixel(), "green light centre");
    require(art.lights.at(centre, centre + light) == kLightRed.pixel(), "red light centre");
    require(art.lights.at(centre, centre + 2 * light) == kLightDark.pixel(), "dark light centre");
    for (std::uint32_t p : art.menuFace.pixels) require(p == kMenuFace.pixel(), "menu face colour");
}

// The six bitmaps at `scale`; the 2x files carry "_2x" in their names.
DecodedArtwork drawSet(const std::string& folder, int scale) {
    const int s = scale;
    const PixelImage layouts = drawChannelLayouts(s);
    const PixelImage lights = drawLights(kWindowColour, s);
    const WindowArt window =
        drawWindow(crop(layouts, 0, 0, kTileWidth * s, kTileHeight * s),
                   crop(lights, 0, 2 * kLightSize * s, kLightSize * s, kLightSize * s), s);
    const PixelImage icons = drawMenuIcons(s);
    const PixelImage face = drawMenuFace(s);

    const std::vector<std::uint32_t> palette =
        buildPalette({&window.background, &window.busPanel, &lights, &layouts},
                     {kLightGreen.pixel(), kLightRed.pixel(), kLightDark.pixel(), kMenuFace.pixel(),
                      kWindowColour.pixel()},
                     256);
    const std::vector<std::uint32_t> iconPalette{kMenuFace.pixel(), kIconInactive.pixel(),
                                                 kIconActive.pixel()};

    const std::string suffix = s == 1 ? ".bmp" : "_2x.bmp";
    auto name = [&](const char* stem) { return stem + suffix; };
    DecodedArtwork art;
    art.window = save(folder, name("bus_window_101"), indexImage(window.background, palette),
                      BmpEncoding::Palette8Rle);
    art.busPanel =
        save(folder, name("bus_panel_109"), indexImage(window.busPanel, palette), BmpEncoding::Palette8);
    art.lights = save(folder, name("link_lights_110"), indexImage(lights, palette), BmpEncoding::Palette8);
    art.layouts =
        save(folder, name("channel_layouts_115"), indexImage(layouts, palette), BmpEncoding::Palette8);
    art.menuFace = save(folder, name("menu_face_116"), indexImage(face, iconPalette), BmpEncoding::Palette4);
    art.menuIcons =
        save(folder, name("menu_icons_118"), indexImage(icons, iconPalette), BmpEncoding::Palette4);
    require(art.menuIcons.pixels == icons.pixels, "menu icons are not exact");
    checkArtwork(art, s);
    return art;
}

int run(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s <output folder> [<preview.png>]\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];
    const DecodedArtwork art = drawSet(folder, 1);
    drawSet(folder, 2);
    if (argc == 3) writePreview(art, argv[2], 3);
    return 0;
}

}  // namespace

}  // namespace MX::artwork

int main(int argc, char** argv) {
    try {
        return MX::artwork::run(argc, argv);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
