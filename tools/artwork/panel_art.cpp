#include "tools/artwork/panel_art.h"

namespace MX::artwork {

namespace {

constexpr Rgb kTopEdge{52, 56, 61};
constexpr Rgb kBottomEdge{24, 26, 29};
constexpr Rgb kTileColour{28, 30, 34};
constexpr Rgb kTileEdge{19, 21, 24};
constexpr Rgb kText{224, 228, 232};
constexpr Rgb kCaption{134, 141, 148};
constexpr Rgb kCaptionDim{82, 88, 95};
constexpr Rgb kRule{54, 58, 64};
constexpr Rgb kAccent{70, 196, 226};
constexpr Rgb kSpeakerIdle{68, 73, 80};
constexpr Rgb kLineIdle{52, 56, 62};
constexpr Rgb kFieldEdge{22, 24, 27};
constexpr Rgb kFieldColour{60, 65, 68};
constexpr Rgb kFieldEmpty{30, 32, 36};

const char* const kLayoutNames[] = {"Off", "Mono", "Stereo", "Quad", "Surround"};

// Parts of a layout symbol, as in the menu icons.
enum Speaker : unsigned {
    kFrontLeft = 1 << 0,
    kFrontRight = 1 << 1,
    kRearLeft = 1 << 2,
    kRearRight = 1 << 3,
    kFrontCentre = 1 << 4,
    kListener = 1 << 5,
    kFrontEdge = 1 << 6,
    kOtherEdges = 1 << 7,
};
constexpr unsigned kActive[] = {
    0,
    kFrontCentre,
    kFrontLeft | kFrontRight | kFrontEdge,
    kFrontLeft | kFrontRight | kRearLeft | kRearRight | kFrontEdge | kOtherEdges,
    kFrontLeft | kFrontRight | kRearLeft | kRearRight | kFrontEdge | kOtherEdges | kFrontCentre | kListener,
};

// Window edges: a light top row and a dark bottom row across everything.
void drawEdges(Canvas& canvas, int width) {
    canvas.fill(0, 0, width, 1, kTopEdge);
    canvas.fill(0, kWindowHeight - 1, width, 1, kBottomEdge);
}

void drawLayout(Canvas& canvas, int top, int layout) {
    const unsigned active = kActive[layout];
    auto colour = [active](unsigned part, Rgb idle) { return (active & part) ? kAccent : idle; };

    canvas.fill(0, top, kTileWidth, kTileHeight, kTileColour);
    canvas.fill(0, top, kTileWidth, 1, kTopEdge);
    canvas.fill(0, top + kTileHeight - 1, kTileWidth, 1, kBottomEdge);
    canvas.fill(kTileWidth - 1, top + 1, 1, kTileHeight - 2, kTileEdge);

    // Outline through the speaker centres: columns 15 and 41, rows 8 and 34 of the tile.
    constexpr int left = 15, right = 41, front = 8, rear = 34;
    const int yFront = top + front, yRear = top + rear;
    canvas.line(left, yFront, right, yFront, colour(kFrontEdge, kLineIdle));
    canvas.line(left, yRear, right, yRear, colour(kOtherEdges, kLineIdle));
    canvas.line(left, yFront, left, yRear, colour(kOtherEdges, kLineIdle));
    canvas.line(right, yFront, right, yRear, colour(kOtherEdges, kLineIdle));

    auto speaker = [&](int x, int y, unsigned part) {
        canvas.roundedRect(x - 3, y - 3, 7, 7, 1.5, kTileColour);
        canvas.roundedRect(x - 3, y - 3, 7, 7, 1.5, colour(part, kSpeakerIdle));
    };
    speaker(left, yFront, kFrontLeft);
    speaker(right, yFront, kFrontRight);
    speaker(left, yRear, kRearLeft);
    speaker(right, yRear, kRearRight);
    speaker((left + right) / 2, yFront, kFrontCentre);
    canvas.circle((left + right) / 2 + 0.5, top + (front + rear) / 2 + 0.5, 3.2,
                  colour(kListener, kSpeakerIdle));

    const TextStyle caption{10.0, true, 0.0, layout == 0 ? kCaption : kText};
    canvas.text(kLayoutNames[layout], kTileWidth / 2.0, top + 51, caption, Align::Centre);
}

// Everything but the bus panel area and the pasted pieces.
void drawWindowBase(Canvas& canvas) {
    canvas.fill(0, 0, kWindowWidth, kWindowHeight, kWindowColour);
    drawEdges(canvas, kWindowWidth);

    constexpr double brandX = 68;
    canvas.fill(brandX - 6, 16, 2, 27, kAccent);
    canvas.text("DRUVO", brandX, 29, TextStyle{17.0, true, 2.0, kText});
    canvas.text("bus output", brandX, 42, TextStyle{10.0, false, 0.6, kCaption});

    canvas.text("Link", kLightX - 5, kLightY + 7, TextStyle{9.0, true, 0.0, kCaption}, Align::Right);
}

// The panel's caption with a rule after it, and the field's frame.
void drawPanelFrame(Canvas& canvas, Rgb captionColour, Rgb fieldColour) {
    const TextStyle caption{10.0, true, 0.0, captionColour};
    const double width = canvas.text("Bus", kPanelX + kFieldX, kPanelY + 13, caption);
    const int ruleStart = kPanelX + kFieldX + static_cast<int>(width) + 6;
    canvas.line(ruleStart, kPanelY + 9, kPanelX + kFieldX + kFieldWidth - 1, kPanelY + 9, kRule);

    const int fx = kPanelX + kFieldX, fy = kPanelY + kFieldY;
    canvas.fill(fx - 1, fy - 1, kFieldWidth + 2, kFieldHeight + 2, kFieldEdge);
    canvas.fill(fx, fy, kFieldWidth, kFieldHeight, fieldColour);
}

}  // namespace

toolkit::PixelImage drawChannelLayouts(int scale) {
    Canvas canvas(kTileWidth, kTileHeight * 5, scale);
    for (int layout = 0; layout < 5; ++layout) drawLayout(canvas, layout * kTileHeight, layout);
    return canvas.pixels();
}

WindowArt drawWindow(const toolkit::PixelImage& offLayout, const toolkit::PixelImage& darkLight, int scale) {
    const int s = scale;
    Canvas connected(kWindowWidth, kWindowHeight, s);
    drawWindowBase(connected);
    drawPanelFrame(connected, kCaption, kFieldColour);
    toolkit::PixelImage withPanel = connected.pixels();
    WindowArt art;
    art.busPanel = {kPanelWidth * s, kPanelHeight * s,
                    std::vector<std::uint32_t>(static_cast<std::size_t>(kPanelWidth * s) * kPanelHeight * s)};
    paste(art.busPanel, 0, 0, withPanel, kPanelX * s, kPanelY * s, kPanelWidth * s, kPanelHeight * s);

    Canvas idle(kWindowWidth, kWindowHeight, s);
    drawWindowBase(idle);
    drawPanelFrame(idle, kCaptionDim, kFieldEmpty);
    idle.text("offline", kPanelX + kFieldX + kFieldWidth / 2.0, kPanelY + kFieldY + 11,
              TextStyle{10.0, false, 0.6, kCaptionDim}, Align::Centre);
    art.background = idle.pixels();
    paste(art.background, 0, 0, offLayout, 0, 0, kTileWidth * s, kTileHeight * s);
    paste(art.background, kLightX * s, kLightY * s, darkLight, 0, 0, darkLight.width, darkLight.height);
    return art;
}

}  // namespace MX::artwork
