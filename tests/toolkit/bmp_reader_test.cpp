#include "toolkit/bmp_reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

#include "toolkitTestBitmaps.h"

using namespace MX::toolkit;

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& b, std::size_t at, std::uint32_t v) {
    b[at] = static_cast<std::uint8_t>(v);
    b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}
void put32(Bytes& b, std::size_t at, std::uint32_t v) {
    put16(b, at, v & 0xFFFF);
    put16(b, at + 2, v >> 16);
}

// A BMP file around `pixels`, palette entries given as 0xRRGGBB.
Bytes makeBmp(std::int32_t width, std::int32_t height, int bits, std::uint32_t compression,
              const std::vector<std::uint32_t>& palette, const Bytes& pixels) {
    const std::size_t offset = 14 + 40 + 4 * palette.size();
    Bytes b(offset, 0);
    b[0] = 'B';
    b[1] = 'M';
    put32(b, 2, static_cast<std::uint32_t>(offset + pixels.size()));
    put32(b, 10, static_cast<std::uint32_t>(offset));
    put32(b, 14, 40);
    put32(b, 18, static_cast<std::uint32_t>(width));
    put32(b, 22, static_cast<std::uint32_t>(height));
    put16(b, 26, 1);
    put16(b, 28, static_cast<std::uint32_t>(bits));
    put32(b, 30, compression);
    put32(b, 34, static_cast<std::uint32_t>(pixels.size()));
    put32(b, 46, static_cast<std::uint32_t>(palette.size()));
    for (std::size_t i = 0; i < palette.size(); ++i) put32(b, 54 + 4 * i, palette[i]);
    b.insert(b.end(), pixels.begin(), pixels.end());
    return b;
}

Bytes embedded(int id) {
    const auto bytes = EmbeddedResourceProvider(MX::toolkitTestBitmaps()).find(id);
    return Bytes(bytes.begin(), bytes.end());
}

PixelImage decoded(int id) {
    PixelImage image;
    EXPECT_TRUE(decodeBmp(embedded(id), image)) << "bitmap " << id;
    return image;
}

constexpr std::uint32_t kRed = 0xFFFF0000, kGreen = 0xFF00FF00, kBlue = 0xFF0000FF, kBlack = 0xFF000000;

}  // namespace

TEST(BmpReader, CommittedBitmapsHaveTheirSizesAndEncodings) {
    struct Expect {
        int id, width, height, bits, compression;
    };
    for (const Expect& e :
         {Expect{101, 317, 59, 8, 1}, Expect{109, 151, 42, 8, 0}, Expect{110, 7, 21, 8, 0},
          Expect{115, 56, 295, 8, 0}, Expect{116, 141, 15, 4, 0}, Expect{118, 11, 55, 4, 0}}) {
        const Bytes file = embedded(e.id);
        ASSERT_GT(file.size(), 54u) << e.id;
        EXPECT_EQ(file[28], e.bits) << e.id;
        EXPECT_EQ(file[30], e.compression) << e.id;
        const PixelImage image = decoded(e.id);
        EXPECT_EQ(image.width, e.width) << e.id;
        EXPECT_EQ(image.height, e.height) << e.id;
    }
}

TEST(BmpReader, CommittedArtworkMatchesWhereViewsCoverTheWindow) {
    const PixelImage window = decoded(101), lights = decoded(110), layouts = decoded(115);
    for (int y = 0; y < 59; ++y) {
        for (int x = 0; x < 56; ++x) ASSERT_EQ(window.at(x, y), layouts.at(x, y)) << x << "," << y;
    }
    for (int y = 0; y < 7; ++y) {
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(window.at(303 + x, 6 + y), lights.at(x, 14 + y)) << x << "," << y;
    }
    EXPECT_EQ(lights.at(3, 3), 0xFF00EB01u);
    EXPECT_EQ(lights.at(3, 10), 0xFFF00000u);
    EXPECT_EQ(lights.at(3, 17), 0xFF4B4A4Au);
    for (std::uint32_t p : decoded(116).pixels) ASSERT_EQ(p, 0xFF3C4144u);
}

TEST(BmpReader, CommittedMenuIconsFollowTheirPattern) {
    const PixelImage icons = decoded(118);
    constexpr std::uint32_t face = 0xFF3C4144, grey = 0xFF808080, white = 0xFFFFFFFF;
    auto at = [&](int picture, int x, int y) { return icons.at(x, 11 * picture + y); };
    for (int p = 0; p < 5; ++p) {
        EXPECT_EQ(at(p, 3, 3), face);
        EXPECT_EQ(at(p, 0, 10), p >= 3 ? white : grey) << p;           // bottom-left mark
        EXPECT_EQ(at(p, 5, 0), p == 1 || p == 4 ? white : grey) << p;  // top-middle mark
        EXPECT_EQ(at(p, 7, 1), p >= 2 ? white : grey) << p;            // top line
        EXPECT_EQ(at(p, 1, 5), p >= 3 ? white : grey) << p;            // left line
        EXPECT_EQ(at(p, 5, 5), p == 4 ? white : grey) << p;            // centre mark
    }
}

TEST(BmpReader, FourBitRowsReadTheSameBottomUpAndTopDown) {
    // 3 x 2, rows padded to four bytes: top row red green blue, bottom row blue blue red.
    const std::vector<std::uint32_t> palette{0xFF0000, 0x00FF00, 0x0000FF};
    const Bytes bottomUp{0x22, 0x00, 0, 0, 0x01, 0x20, 0, 0};
    const Bytes topDown{0x01, 0x20, 0, 0, 0x22, 0x00, 0, 0};
    PixelImage a, b;
    ASSERT_TRUE(decodeBmp(makeBmp(3, 2, 4, 0, palette, bottomUp), a));
    ASSERT_TRUE(decodeBmp(makeBmp(3, -2, 4, 0, palette, topDown), b));
    EXPECT_EQ(a.pixels, (std::vector<std::uint32_t>{kRed, kGreen, kBlue, kBlue, kBlue, kRed}));
    EXPECT_EQ(a.pixels, b.pixels);
}

TEST(BmpReader, Rle8RunsLiteralsDeltasAndLineEnds) {
    const std::vector<std::uint32_t> palette{0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
    const Bytes rle{
        2, 1,              // bottom row: red red
        0, 3, 2, 3, 2, 0,  // literal green blue green, padded
        0, 0,              // next row
        0, 2, 3, 0,        // move 3 right: x 3
        1, 3,              // blue
        0, 0,              // next (top) row
        0, 2, 0, 5,        // far past the top: dropped
        4, 1, 0, 1,        // end
    };
    PixelImage image;
    ASSERT_TRUE(decodeBmp(makeBmp(5, 3, 8, 1, palette, rle), image));
    const std::vector<std::uint32_t> expected{
        kBlack, kBlack, kBlack, kBlack, kBlack,  // top row: never reached
        kBlack, kBlack, kBlack, kBlue,  kBlack,  // middle row: skipped to x 3
        kRed,   kRed,   kGreen, kBlue,  kGreen,  // bottom row
    };
    EXPECT_EQ(image.pixels, expected);
}

TEST(BmpReader, Rle8PixelsPastTheRowEndAreDropped) {
    const Bytes rle{255, 1, 0, 5, 1, 2, 3, 1, 2, 0, 0, 0, 0, 0, 0, 0, 255, 2, 0, 1};
    PixelImage image;
    ASSERT_TRUE(decodeBmp(makeBmp(3, 2, 8, 1, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF}, rle), image));
    EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{kBlack, kBlack, kBlack, kRed, kRed, kRed}));
}

TEST(BmpReader, IndexWithoutPaletteEntryIsBlack) {
    PixelImage image;
    ASSERT_TRUE(decodeBmp(makeBmp(2, 1, 8, 0, {0xFF0000}, Bytes{0, 7, 0, 0}), image));
    EXPECT_EQ(image.pixels, (std::vector<std::uint32_t>{kRed, kBlack}));
}

TEST(BmpReader, PackedDibReadsLikeTheFile) {
    const Bytes file = embedded(110);
    PixelImage fromFile, fromDib;
    ASSERT_TRUE(decodeBmp(file, fromFile));
    ASSERT_TRUE(decodeDib(Bytes(file.begin() + 14, file.end()), fromDib));
    EXPECT_EQ(fromFile.pixels, fromDib.pixels);
}

TEST(BmpReader, RefusesMalformedHeaders) {
    const Bytes good = makeBmp(2, 2, 8, 0, {0xFF0000, 0x00FF00}, Bytes(8, 1));
    PixelImage image;
    ASSERT_TRUE(decodeBmp(good, image));

    struct Case {
        const char* what;
        std::size_t at;
        std::uint32_t value;
        bool wide;
    };
    const Case cases[] = {
        {"signature", 0, 'X', false},
        {"pixel offset past the end", 10, 10000, true},
        {"pixel offset inside the palette", 10, 20, true},
        {"short info header", 14, 12, true},
        {"info header past the end", 14, 4000, true},
        {"zero width", 18, 0, true},
        {"negative width", 18, 0xFFFFFFFF, true},
        {"zero height", 22, 0, true},
        {"most negative height", 22, 0x80000000, true},
        {"too wide", 18, 20000, true},
        {"too many pixels", 18, 16384, true},
        {"two planes", 26, 2, false},
        {"24 bits", 28, 24, false},
        {"RLE4", 30, 2, true},
        {"4-bit RLE8", 28, 4, false},
        {"palette larger than the depth", 46, 300, true},
        {"palette past the end", 46, 200, true},
    };
    for (const Case& c : cases) {
        Bytes bad = good;
        if (c.at == 18 && c.value == 16384) put32(bad, 22, 16384);
        if (c.at == 28 && c.value == 4) put32(bad, 30, 1);
        c.wide ? put32(bad, c.at, c.value) : put16(bad, c.at, c.value);
        EXPECT_FALSE(decodeBmp(bad, image)) << c.what;
        EXPECT_TRUE(image.empty()) << c.what;
    }

    Bytes topDownRle = makeBmp(2, -2, 8, 1, {0xFF0000}, Bytes{0, 1});
    EXPECT_FALSE(decodeBmp(topDownRle, image)) << "run-length encoded top-down";
}

TEST(BmpReader, EveryTruncationIsRefused) {
    for (int id : {101, 109, 116}) {
        const Bytes file = embedded(id);
        PixelImage image;
        for (std::size_t n = 0; n < file.size(); ++n) {
            ASSERT_FALSE(decodeBmp(Bytes(file.begin(), file.begin() + static_cast<std::ptrdiff_t>(n)), image))
                << id << " cut to " << n;
        }
    }
}

TEST(BmpReader, DamagedFilesDecodeSafelyOrNotAtAll) {
    std::mt19937 random(12345);
    for (int id : {101, 118}) {
        const Bytes file = embedded(id);
        for (int round = 0; round < 1500; ++round) {
            Bytes damaged = file;
            const int hits = 1 + static_cast<int>(random() % 8);
            for (int i = 0; i < hits; ++i)
                damaged[random() % damaged.size()] = static_cast<std::uint8_t>(random());
            PixelImage image;
            if (decodeBmp(damaged, image)) {
                ASSERT_EQ(image.pixels.size(), static_cast<std::size_t>(image.width) * image.height);
                ASSERT_LE(static_cast<std::int64_t>(image.width) * image.height, kBmpMaxPixels);
            } else {
                ASSERT_TRUE(image.empty());
            }
        }
    }
}
