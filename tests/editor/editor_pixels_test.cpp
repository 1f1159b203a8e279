// What the editor puts on the screen, read back from the offscreen surface:
// the light's and the channel display's rows, the views present only while
// the connection state is not kNoRecord, and the bus menu face.
#include <cmath>
#include "tests/editor/editor_fixture.h"

#include "toolkit/bitmap.h"
#include "toolkit/display_scale.h"
#include "toolkit/offscreen/offscreen_backend.h"

namespace editor_test {
namespace {

using MX::toolkit::CBitmap;
using MX::toolkit::CRect;
using MX::toolkit::OffscreenSurface;

const CRect kLight(303, 6, 310, 13);
const CRect kDisplay(0, 0, 56, 59);
const CRect kMenu(171, 40, 312, 55);
const CRect kPanel(166, 17, 317, 59);
constexpr MX::toolkit::CColor kFace{60, 65, 68, 255};

class EditorPixels : public EditorTest {
protected:
    EditorPixels() { MX::toolkit::setDefaultBackend(&offscreen); }

    static OffscreenSurface& surfaceOf(MX::Druvo& effect) {
        return MX::toolkit::OffscreenFrame::of(frameOf(effect))->surface();
    }
    // True when `area` on the surface equals `bitmap` from (sourceX, sourceY) on.
    // Both in device pixels: at scale 2, `id` is a double-size drawing (1101 ...).
    static ::testing::AssertionResult shows(MX::Druvo& effect, const CRect& area, int id, int sourceX,
                                            int sourceY) {
        CBitmap bitmap(id);
        if (!bitmap.isLoaded()) return ::testing::AssertionFailure() << "no bitmap " << id;
        const OffscreenSurface& surface = surfaceOf(effect);
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x) {
                if (surface.pixel(area.left + x, area.top + y) !=
                    bitmap.image().at(sourceX + x, sourceY + y)) {
                    return ::testing::AssertionFailure()
                           << "bitmap " << id << " differs at " << area.left + x << "," << area.top + y;
                }
            }
        }
        return ::testing::AssertionSuccess();
    }
    // True when some pixel of `area` differs from the menu face colour.
    static bool inked(MX::Druvo& effect, const CRect& area) {
        for (int y = area.top; y < area.bottom; ++y) {
            for (int x = area.left; x < area.right; ++x) {
                if (surfaceOf(effect).colorAt(x, y) != kFace) return true;
            }
        }
        return false;
    }
    static ::testing::AssertionResult showsBackground(MX::Druvo& effect, const CRect& area) {
        return shows(effect, area, 101, area.left, area.top);
    }

    MX::toolkit::OffscreenBackend offscreen;
};

TEST_F(EditorPixels, LightShowsGreenRedAndDarkRows) {
    MX::Druvo& effect = effectInState(State::kAllChannels);
    open(effect);
    idle(effect);
    EXPECT_TRUE(shows(effect, kLight, 110, 0, 0));
    EXPECT_EQ(surfaceOf(effect).colorAt(306, 9), MX::toolkit::MakeCColor(0, 235, 1));

    driveTo(effect, State::kNotDelivering);
    clockNow = 250;
    idle(effect);
    EXPECT_TRUE(shows(effect, kLight, 110, 0, 7));
    EXPECT_EQ(surfaceOf(effect).colorAt(306, 9), MX::toolkit::MakeCColor(240, 0, 0));

    clockNow = 750;
    idle(effect);
    EXPECT_TRUE(shows(effect, kLight, 110, 0, 14));
}

TEST_F(EditorPixels, ChannelDisplayShowsThePictureOfTheOutputChannelCount) {
    MX::Druvo& effect = makeEffect();
    open(effect);
    MX::toolkit::OffscreenFrame::of(frameOf(effect))->paint();
    EXPECT_TRUE(shows(effect, kDisplay, 115, 0, 0)) << "Off until the first idle";

    const int pictures[] = {1, 1, 2, 2, 3, 3, 4, 4, 4};
    for (int n = 0; n <= 8; ++n) {
        ASSERT_TRUE(setOutputChannels(effect, n));
        idle(effect);
        EXPECT_TRUE(shows(effect, kDisplay, 115, 0, 59 * pictures[n])) << n << " channels";
    }
}

TEST_F(EditorPixels, PanelMenuAndLightShowOnlyWhileLinked) {
    MX::Druvo& effect = makeEffect();
    open(effect);
    idle(effect);
    EXPECT_TRUE(showsBackground(effect, kPanel));
    EXPECT_TRUE(showsBackground(effect, kLight));

    driveTo(effect, State::kSomeChannels);
    idle(effect);
    EXPECT_TRUE(shows(effect, CRect(166, 17, 317, 40), 109, 0, 0)) << "panel above the menu";
    EXPECT_EQ(surfaceOf(effect).colorAt(kMenu.right - 1, kMenu.top), kFace);
    EXPECT_FALSE(showsBackground(effect, kLight));

    driveTo(effect, State::kNoRecord);
    idle(effect);
    EXPECT_TRUE(showsBackground(effect, kPanel));
    EXPECT_TRUE(showsBackground(effect, kLight));
}

TEST_F(EditorPixels, MenuFaceHasItsPictureAt3And2AndTextFrom15Pixels) {
    MX::Druvo& effect = effectInState(State::kAllChannels);
    effect.setParameter(0, 16 * 0.0625f);  // the longest default title
    open(effect);
    idle(effect);

    EXPECT_TRUE(shows(effect, CRect(174, 42, 185, 53), 118, 0, 22)) << "Stereo item picture";
    EXPECT_FALSE(inked(effect, CRect(185, kMenu.top, 186, kMenu.bottom))) << "column 14 is still face";
    EXPECT_TRUE(inked(effect, CRect(186, kMenu.top, 190, kMenu.bottom))) << "the first glyph starts at 15 px";

    // The title is wider than the menu: nothing of it lands right of the menu.
    EXPECT_TRUE(shows(effect, CRect(312, 40, 317, 55), 109, 146, 23));
}

TEST_F(EditorPixels, BusNameInASingleByteCodePageKeepsTheWindowDrawing) {
    MX::Druvo& effect = effectInState(State::kAllChannels);
    setDirectory({{"Caf\xE9 \xFF\xC3", 2}});  // Latin-1, not UTF-8
    open(effect);
    idle(effect);
    EXPECT_TRUE(inked(effect, CRect(186, kMenu.top, kMenu.right, kMenu.bottom))) << "title drawn";
    driveTo(effect, State::kNotDelivering);
    clockNow = 250;
    idle(effect);
    EXPECT_TRUE(shows(effect, kLight, 110, 0, 7));
}

// The host's scale message (PreSonus's extension) through the dispatcher: the
// open window redraws at the scale, the host is asked for the new size, and
// the bitmaps, light and text land at their scaled places.
TEST_F(EditorPixels, HostScaleMessageRedrawsTheWindowAtThatScale) {
    MX::Druvo& effect = effectInState(State::kAllChannels);
    open(effect);
    idle(effect);
    EXPECT_EQ(dispatch(effect, effVendorSpecific, kPreSonusVendor, 0, nullptr, 2.0f), 0) << "other message";
    EXPECT_EQ(dispatch(effect, effVendorSpecific, kPreSonusVendor, kContentScaleMessage, nullptr, 0.0f), 0);

    const struct {
        float message;
        short width, height;
        CRect light;
    } scales[] = {{2.0f, 634, 118, CRect(606, 12, 620, 26)},
                  {1.4f, 476, 89, CRect(455, 9, 465, 20)},
                  {3.0f, 634, 118, CRect(606, 12, 620, 26)}};
    for (const auto& scale : scales) {
        fake_host::calls.clear();
        ASSERT_EQ(dispatch(effect, effVendorSpecific, kPreSonusVendor, kContentScaleMessage, nullptr,
                           scale.message),
                  1);
        ERect* rect = nullptr;
        ASSERT_EQ(dispatch(effect, effEditGetRect, 0, 0, &rect), 1);
        EXPECT_EQ(rect->right, scale.width) << scale.message;
        EXPECT_EQ(rect->bottom, scale.height) << scale.message;
        EXPECT_EQ(fake_host::count(audioMasterSizeWindow), 1) << scale.message;
        idle(effect);
        EXPECT_EQ(surfaceOf(effect).deviceArea(), CRect(0, 0, scale.width, scale.height));
        const CRect& light = scale.light;
        const MX::toolkit::CColor centre =
            surfaceOf(effect).colorAt((light.left + light.right) / 2, (light.top + light.bottom) / 2);
        EXPECT_GT(centre.green, 200) << scale.message;
        EXPECT_LT(centre.red, 40) << scale.message;
    }
    fake_host::calls.clear();
    ASSERT_EQ(dispatch(effect, effVendorSpecific, kPreSonusVendor, kContentScaleMessage, nullptr, 2.5f), 1);
    EXPECT_EQ(fake_host::count(audioMasterSizeWindow), 0) << "2.5 is 2 again: nothing to resize";

    // At 2: the double-size drawings pixel for pixel, the title from 30 device pixels.
    effect.setParameter(0, 16 * 0.0625f);
    idle(effect);
    EXPECT_TRUE(shows(effect, CRect(606, 12, 620, 26), 1110, 0, 0));
    EXPECT_TRUE(shows(effect, CRect(0, 0, 112, 118), 1115, 0, 4 * 118));
    EXPECT_TRUE(shows(effect, CRect(348, 84, 370, 106), 1118, 0, 44)) << "Stereo item picture";
    EXPECT_FALSE(inked(effect, CRect(370, 80, 372, 110))) << "column 14 is still face";
    EXPECT_TRUE(inked(effect, CRect(372, 80, 380, 110))) << "the first glyph starts at 15 px";

    fake_host::calls.clear();
    ASSERT_EQ(dispatch(effect, effVendorSpecific, kPreSonusVendor, kContentScaleMessage, nullptr, 1.0f), 1);
    ASSERT_EQ(fake_host::count(audioMasterSizeWindow), 1);
    EXPECT_EQ(fake_host::calls.back().index, 317);
    EXPECT_EQ(fake_host::calls.back().value, 59);
}

TEST_F(EditorPixels, ScalesRoundToQuarterStepsFromOneToTwo) {
    const double raw[] = {0.5, 1.0, 1.12, 1.13, 1.5, 1.9, 2.01, 4.0, std::nan("")};
    const double rounded[] = {1.0, 1.0, 1.0, 1.25, 1.5, 2.0, 2.0, 2.0, 1.0};
    for (std::size_t i = 0; i < std::size(raw); ++i)
        EXPECT_EQ(MX::toolkit::quantizeScale(raw[i]), rounded[i]);
}

}  // namespace
}  // namespace editor_test
