// Pixels on the cairo offscreen surface: bitmap rows, clipping, text placement.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "toolkit/offscreen/offscreen_backend.h"
#include "toolkit/vstgui.h"
#include "toolkitTestBitmaps.h"

using namespace MX::toolkit;

namespace {

class OffscreenTest : public ::testing::Test {
protected:
    OffscreenTest() : provider(MX::toolkitTestBitmaps()) { setResourceProvider(&provider); }
    ~OffscreenTest() override { setResourceProvider(nullptr); }

    // A 317 x 59 frame on bitmap 101, like the editor's window.
    CFrame* makeWindow() {
        auto* frame = new CFrame(CRect(0, 0, 317, 59), nullptr, nullptr, &backend);
        auto* background = new CBitmap(101);
        frame->setBackground(background);
        background->forget();
        return frame;
    }
    // Expects the view-sized area at `view` on the surface to equal `bitmap` from `sourceRow` on.
    static void expectRows(CFrame& frame, const CRect& view, const CBitmap& bitmap, int sourceRow) {
        OffscreenSurface& surface = OffscreenFrame::of(frame)->surface();
        for (int y = 0; y < view.height(); ++y) {
            for (int x = 0; x < view.width(); ++x) {
                ASSERT_EQ(surface.pixel(view.left + x, view.top + y), bitmap.image().at(x, sourceRow + y))
                    << "view pixel " << x << "," << y;
            }
        }
    }

    EmbeddedResourceProvider provider;
    OffscreenBackend backend;
};

bool inked(std::uint32_t pixel) { return (pixel & 0xFFFFFF) != 0; }

}  // namespace

TEST_F(OffscreenTest, LightShowsTheRowsItsValueNames) {
    CFrame* frame = makeWindow();
    auto* strip = new CBitmap(110);
    ASSERT_TRUE(strip->isLoaded());
    const CRect rect(303, 6, 310, 13);
    auto* light = new CAutoAnimation(rect, nullptr, 0, 3, 7, strip);
    light->setValue(7.01f);
    light->openWindow();
    frame->addView(light);
    frame->idle();
    expectRows(*frame, rect, *strip, 7);
    EXPECT_EQ(OffscreenFrame::of(*frame)->surface().colorAt(306, 9), MakeCColor(240, 0, 0));

    light->setValue(0.01f);
    light->setDirty();
    frame->idle();
    expectRows(*frame, rect, *strip, 0);

    CPoint where(305, 8);
    frame->onMouseDown(where, kLButton);  // blanks it: the window's own dark light shows
    frame->idle();
    expectRows(*frame, rect, *strip, 14);
    strip->forget();
    frame->forget();
}

TEST_F(OffscreenTest, ChannelDisplayShowsTheLastPicture) {
    CFrame* frame = makeWindow();
    auto* strip = new CBitmap(115);
    const CRect rect(0, 0, 56, 59);
    auto* display = new CAutoAnimation(rect, nullptr, 0, 3, 59, strip);
    display->setValue(236.0001f);
    EXPECT_EQ(display->getValue(), 236.0001f);
    display->openWindow();
    frame->addView(display);
    frame->idle();
    expectRows(*frame, rect, *strip, 236);
    strip->forget();
    frame->forget();
}

TEST_F(OffscreenTest, ClipLimitsFillsAndBitmapCopies) {
    OffscreenSurface surface(CRect(0, 0, 40, 20));
    CDrawContext& context = surface.context();
    context.setClipRect(CRect(5, 5, 15, 15));
    context.setFillColor(kWhiteCColor);
    context.fillRect(CRect(0, 0, 40, 20));
    const CBitmap red(PixelImage{30, 10, std::vector<std::uint32_t>(300, 0xFFFF0000)});
    context.setClipRect(CRect(20, 0, 40, 4));
    context.drawBitmap(red, CRect(10, 0, 40, 10), CPoint(0, 0));

    for (int y = 0; y < 20; ++y) {
        for (int x = 0; x < 40; ++x) {
            std::uint32_t expected = 0xFF000000;
            if (x >= 5 && x < 15 && y >= 5 && y < 15) expected = 0xFFFFFFFF;
            if (x >= 20 && y < 4) expected = 0xFFFF0000;
            ASSERT_EQ(surface.pixel(x, y), expected) << x << "," << y;
        }
    }
    CRect clip;
    EXPECT_EQ(context.getClipRect(clip), CRect(20, 0, 40, 4));
    context.setClipRect(CRect(-10, -10, 100, 100));
    EXPECT_EQ(context.getClipRect(clip), CRect(0, 0, 40, 20)) << "never beyond the surface";
}

TEST_F(OffscreenTest, TextStartsAtItsRectangleAndStopsAtTheClip) {
    OffscreenSurface surface(CRect(0, 0, 200, 15));
    CDrawContext& context = surface.context();
    const CRect menu(20, 0, 80, 15);
    context.setClipRect(menu);
    context.setFont(kNormalFont);
    context.setFontColor(kWhiteCColor);
    context.drawString("01: Output Bus 1 (2.0)", CRect(menu.left + 15, menu.top, menu.right, menu.bottom),
                       false, kLeftText);

    int first = -1, last = -1;
    for (int x = 0; x < 200; ++x) {
        for (int y = 0; y < 15; ++y) {
            if (!inked(surface.pixel(x, y))) continue;
            if (first < 0) first = x;
            last = x;
        }
    }
    EXPECT_GE(first, 35);
    EXPECT_LE(first, 37);
    EXPECT_EQ(last, 79) << "the string runs on and is cut at the clip";
}

TEST_F(OffscreenTest, PopupChoiceReachesTheMenuAndThePictureSaves) {
    int asked = 0;
    backend.setPopupHandler([&](const PopupMenuRequest& request) {
        ++asked;
        return static_cast<int>(request.titles.size()) - 1;
    });
    CFrame* frame = makeWindow();
    auto* menu = new COptionMenu(CRect(171, 40, 312, 55), nullptr, 0);
    menu->addEntry("a");
    menu->addEntry("b");
    frame->addView(menu);
    CPoint where(200, 45);
    frame->onMouseDown(where, kRButton);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(menu->getCurrent(), 1);

    OffscreenFrame::of(*frame)->paint();
    const auto path = std::filesystem::temp_directory_path() / "druvo_toolkit_offscreen_test.png";
    ASSERT_TRUE(OffscreenFrame::of(*frame)->surface().savePng(path.string().c_str()));
    std::ifstream png(path, std::ios::binary);
    char signature[4] = {};
    png.read(signature, 4);
    EXPECT_EQ(std::string(signature + 1, 3), "PNG");
    png.close();
    std::filesystem::remove(path);
    frame->forget();
}
