// The bus menu: titles and pictures from a bus directory, bad directories,
// and how its face is drawn.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "editor/druvo_menu.h"
#include "link/bus_directory.h"
#include "tests/toolkit/recording_backend.h"
#include "toolkit/bitmap.h"

namespace {

using MX::DruvoMenu;
using MX::toolkit::CRect;
using MX::toolkit::testing::DrawCall;
using MX::toolkit::testing::RecordingContext;

const CRect kMenuRect(171, 40, 312, 55);

MoltraxBusDirectory directoryOf(std::initializer_list<std::pair<const char*, int>> buses) {
    MoltraxBusDirectory directory{};
    int i = 0;
    for (const auto& [name, channels] : buses) {
        std::snprintf(directory.entries[i].name, sizeof directory.entries[i].name, "%s", name);
        directory.entries[i].channelCount = channels;
        ++i;
    }
    directory.count = i;
    return directory;
}

class DruvoMenuTest : public ::testing::Test {
protected:
    DruvoMenuTest() : menu(new DruvoMenu(kMenuRect, nullptr, 0, nullptr, nullptr, 0)) {}
    ~DruvoMenuTest() override { menu->forget(); }

    std::string title(int index) const { return menu->getEntry(index)->getTitle(); }

    DruvoMenu* menu;
};

TEST_F(DruvoMenuTest, TitlesAndPicturesFromTheDirectory) {
    menu->fill(directoryOf({{"Main", 2}, {"Drums", 6}, {"FX", 1}}));
    ASSERT_EQ(menu->getNbEntries(), 17);
    EXPECT_EQ(title(0), " <Not Connected>");
    EXPECT_EQ(title(1), "01: Main (2.0)");
    EXPECT_EQ(title(2), "02: Drums (5.1)");
    EXPECT_EQ(title(3), "03: FX (1.0)");
    for (int i = 4; i < 17; ++i) EXPECT_EQ(title(i), " <Not Connected>") << i;
    const int pictures[] = {0, 2, 4, 1};
    for (int i = 0; i < 17; ++i) EXPECT_EQ(menu->itemPicture(i), i < 4 ? pictures[i] : 0) << i;
    EXPECT_EQ(menu->getCurrent(), -1) << "a fill sets no current item";
}

TEST_F(DruvoMenuTest, SixteenDefaultBuses) {
    MoltraxBusDirectory defaults;
    MX::link::fillDefaultDirectory(defaults);
    menu->fill(defaults);
    for (int i = 1; i <= 16; ++i) {
        char expected[32];
        std::snprintf(expected, sizeof expected, "%02d: Output Bus %d (2.0)", i, i);
        EXPECT_EQ(title(i), expected);
        EXPECT_EQ(menu->itemPicture(i), 2);
    }
}

TEST_F(DruvoMenuTest, CountsOutsideTheDirectoryStayInside) {
    MoltraxBusDirectory directory;
    MX::link::fillDefaultDirectory(directory);
    for (int count : {0, -1, -2147483647 - 1}) {
        directory.count = count;
        menu->fill(directory);
        for (int i = 0; i < 17; ++i) EXPECT_EQ(title(i), " <Not Connected>") << count;
    }
    for (int count : {17, 2147483647}) {
        directory.count = count;
        menu->fill(directory);
        EXPECT_EQ(title(16), "16: Output Bus 16 (2.0)");
        EXPECT_EQ(menu->getNbEntries(), 17);
    }
}

TEST_F(DruvoMenuTest, ChannelCountsWithoutALayout) {
    menu->fill(directoryOf(
        {{"a", 0}, {"b", 3}, {"c", 5}, {"d", -1}, {"e", 7}, {"f", 1 << 30}, {"g", -2147483647 - 1}}));
    // Still buses: above 6 channels Surround, as the output counts them; below 0 Mono.
    const int pictures[] = {1, 2, 3, 1, 4, 4, 1};
    for (int i = 1; i <= 7; ++i) {
        EXPECT_EQ(title(i).substr(4), std::string(1, static_cast<char>('a' + i - 1)) + " (n/a)");
        EXPECT_EQ(menu->itemPicture(i), pictures[i - 1]) << i;
    }
}

TEST_F(DruvoMenuTest, LongAndUnterminatedNamesAreCutBeforeTheConfiguration) {
    MoltraxBusDirectory directory{};
    directory.count = 3;
    std::memset(directory.entries[0].name, 'N', sizeof directory.entries[0].name);  // no NUL at all
    directory.entries[0].channelCount = 6;
    std::snprintf(directory.entries[1].name, sizeof directory.entries[1].name, "%s",
                  "12345678901234567890123456789012345678901234567890123");  // 53: fits exactly
    directory.entries[1].channelCount = 2;
    // 52 ASCII bytes, then a two-byte character that would straddle the cut.
    std::snprintf(directory.entries[2].name, sizeof directory.entries[2].name, "%s\xC3\xA9tude",
                  "1234567890123456789012345678901234567890123456789012");
    directory.entries[2].channelCount = 1;
    menu->fill(directory);

    EXPECT_EQ(title(1), "01: " + std::string(53, 'N') + " (5.1)");
    EXPECT_EQ(title(1).size(), 63u);
    EXPECT_EQ(title(2), "02: 12345678901234567890123456789012345678901234567890123 (2.0)");
    EXPECT_EQ(title(3), "03: 1234567890123456789012345678901234567890123456789012 (1.0)");
}

TEST_F(DruvoMenuTest, FaceShowsTheCurrentPictureAndTitleFrom15Pixels) {
    auto* face =
        new MX::toolkit::CBitmap(MX::toolkit::PixelImage{141, 15, std::vector<std::uint32_t>(141 * 15)});
    auto* icons =
        new MX::toolkit::CBitmap(MX::toolkit::PixelImage{11, 55, std::vector<std::uint32_t>(11 * 55)});
    menu->setBackground(face);
    menu->setItemPictureStrip(icons);
    face->forget();
    icons->forget();
    menu->fill(directoryOf({{"Main", 2}, {"Drums", 6}, {"FX", 1}}));
    menu->setCurrent(2);

    RecordingContext context(CRect(0, 0, 317, 59));
    menu->draw(&context);
    EXPECT_FALSE(menu->isDirty());
    ASSERT_EQ(context.calls.size(), 3u);
    EXPECT_EQ(context.calls[0].bitmap, face);
    EXPECT_EQ(context.calls[0].area, kMenuRect);
    EXPECT_EQ(context.calls[1].bitmap, icons);
    EXPECT_EQ(context.calls[1].area, CRect(174, 42, 185, 53));
    EXPECT_EQ(context.calls[1].source, MX::toolkit::CPoint(0, 44)) << "Surround, picture 4";
    const DrawCall& text = context.calls[2];
    EXPECT_EQ(text.kind, DrawCall::Text);
    EXPECT_EQ(text.text, "02: Drums (5.1)");
    EXPECT_EQ(text.area, CRect(186, 40, 312, 55));
    EXPECT_EQ(text.clip, CRect(186, 40, 312, 55)) << "clipped at the right edge";
    EXPECT_EQ(text.colour, MX::toolkit::kWhiteCColor);
    EXPECT_EQ(context.getFont().getSize(), 12);
    EXPECT_STREQ(context.getFont().getName(), "Arial");

    // Item 0 stands for no bus: picture Off.
    menu->setCurrent(0);
    context.calls.clear();
    menu->draw(&context);
    EXPECT_EQ(context.calls[1].source, MX::toolkit::CPoint(0, 0));
    EXPECT_EQ(context.calls[2].text, " <Not Connected>");
}

}  // namespace
