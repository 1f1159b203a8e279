#include "toolkit/bmp_reader.h"

#include <algorithm>
#include <cstddef>

namespace MX::toolkit {

namespace {

constexpr std::uint32_t kCompressionNone = 0;  // BI_RGB
constexpr std::uint32_t kCompressionRle8 = 1;  // BI_RLE8
constexpr std::size_t kFileHeaderBytes = 14;
constexpr std::size_t kInfoHeaderBytes = 40;
constexpr std::uint32_t kMissingColour = 0xFF000000;  // palette index without an entry

using Bytes = std::span<const std::uint8_t>;

std::uint32_t le16(Bytes b, std::size_t at) { return b[at] | std::uint32_t{b[at + 1]} << 8; }
std::uint32_t le32(Bytes b, std::size_t at) { return le16(b, at) | le16(b, at + 2) << 16; }

struct DibLayout {
    int width = 0;
    int height = 0;
    bool topDown = false;
    int bitCount = 0;
    std::uint32_t compression = 0;
    std::uint32_t colourCount = 0;
    std::size_t paletteEnd = 0;  // offset in the DIB where the palette ends
    std::uint32_t palette[256] = {};
};

bool readLayout(Bytes dib, DibLayout& layout) {
    if (dib.size() < kInfoHeaderBytes) return false;
    const std::uint32_t headerBytes = le32(dib, 0);
    if (headerBytes < kInfoHeaderBytes || headerBytes > dib.size()) return false;

    const auto width = static_cast<std::int32_t>(le32(dib, 4));
    const auto height = static_cast<std::int32_t>(le32(dib, 8));
    const std::int64_t rows = height < 0 ? -std::int64_t{height} : height;
    if (width <= 0 || width > kBmpMaxSide || rows == 0 || rows > kBmpMaxSide) return false;
    if (std::int64_t{width} * rows > kBmpMaxPixels) return false;
    if (le16(dib, 12) != 1) return false;  // planes

    layout.width = width;
    layout.height = static_cast<int>(rows);
    layout.topDown = height < 0;
    layout.bitCount = static_cast<int>(le16(dib, 14));
    layout.compression = le32(dib, 16);
    const bool supported = (layout.bitCount == 4 && layout.compression == kCompressionNone) ||
                           (layout.bitCount == 8 && (layout.compression == kCompressionNone ||
                                                     layout.compression == kCompressionRle8));
    if (!supported) return false;
    // Run-length encoded bitmaps are bottom-up by definition.
    if (layout.topDown && layout.compression != kCompressionNone) return false;

    const std::uint32_t maxColours = 1u << layout.bitCount;
    const std::uint32_t used = le32(dib, 32);
    if (used > maxColours) return false;
    layout.colourCount = used == 0 ? maxColours : used;
    if ((dib.size() - headerBytes) / 4 < layout.colourCount) return false;
    for (std::uint32_t i = 0; i < layout.colourCount; ++i) {
        const std::size_t at = headerBytes + 4 * std::size_t{i};
        layout.palette[i] =
            0xFF000000u | std::uint32_t{dib[at + 2]} << 16 | std::uint32_t{dib[at + 1]} << 8 | dib[at];
    }
    layout.paletteEnd = headerBytes + 4 * std::size_t{layout.colourCount};
    return true;
}

std::uint32_t colourOf(const DibLayout& layout, unsigned index) {
    return index < layout.colourCount ? layout.palette[index] : kMissingColour;
}

// `fileRow` counts rows in storage order.
std::uint32_t* rowPointer(const DibLayout& layout, PixelImage& image, int fileRow) {
    const int y = layout.topDown ? fileRow : layout.height - 1 - fileRow;
    return image.pixels.data() + static_cast<std::size_t>(y) * layout.width;
}

bool decodeUncompressed(const DibLayout& layout, Bytes pixels, PixelImage& image) {
    const std::size_t stride =
        (std::size_t{static_cast<unsigned>(layout.width)} * static_cast<unsigned>(layout.bitCount) + 31) /
        32 * 4;
    if (pixels.size() / stride < static_cast<std::size_t>(layout.height)) return false;
    for (int r = 0; r < layout.height; ++r) {
        const Bytes row = pixels.subspan(r * stride, stride);
        std::uint32_t* out = rowPointer(layout, image, r);
        for (int x = 0; x < layout.width; ++x) {
            const unsigned index =
                layout.bitCount == 8 ? row[x] : (x % 2 == 0 ? row[x / 2] >> 4 : row[x / 2] & 0x0F);
            out[x] = colourOf(layout, index);
        }
    }
    return true;
}

// RLE8: pairs (count > 0, index) repeat an index; (0, 0) ends a row, (0, 1) the
// bitmap, (0, 2, dx, dy) moves the pen, (0, n >= 3) is followed by n literal
// indices padded to an even length. Pixels that land outside the image are
// dropped; pixels never reached keep palette entry 0. Running out of data
// before the end-of-bitmap mark is an error.
bool decodeRle8(const DibLayout& layout, Bytes data, PixelImage& image) {
    std::fill(image.pixels.begin(), image.pixels.end(), colourOf(layout, 0));
    int x = 0;
    int y = 0;
    auto put = [&](unsigned index) {
        if (x < layout.width && y < layout.height) rowPointer(layout, image, y)[x] = colourOf(layout, index);
        x = std::min(x + 1, layout.width);
    };
    std::size_t at = 0;
    while (data.size() - at >= 2) {
        const unsigned count = data[at];
        const unsigned code = data[at + 1];
        at += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i) put(code);
        } else if (code == 0) {
            x = 0;
            y = std::min(y + 1, layout.height);
        } else if (code == 1) {
            return true;
        } else if (code == 2) {
            if (data.size() - at < 2) return false;
            x = std::min(x + static_cast<int>(data[at]), layout.width);
            y = std::min(y + static_cast<int>(data[at + 1]), layout.height);
            at += 2;
        } else {
            const std::size_t padded = code + (code & 1u);
            if (data.size() - at < padded) return false;
            for (unsigned i = 0; i < code; ++i) put(data[at + i]);
            at += padded;
        }
    }
    return false;
}

bool decode(const DibLayout& layout, Bytes pixels, PixelImage& image) {
    image.width = layout.width;
    image.height = layout.height;
    image.pixels.assign(static_cast<std::size_t>(layout.width) * layout.height, kMissingColour);
    const bool ok = layout.compression == kCompressionRle8 ? decodeRle8(layout, pixels, image)
                                                           : decodeUncompressed(layout, pixels, image);
    if (!ok) image = PixelImage{};
    return ok;
}

}  // namespace

bool decodeDib(Bytes dib, PixelImage& image) {
    image = PixelImage{};
    DibLayout layout;
    if (!readLayout(dib, layout)) return false;
    return decode(layout, dib.subspan(layout.paletteEnd), image);
}

bool decodeBmp(Bytes file, PixelImage& image) {
    image = PixelImage{};
    if (file.size() < kFileHeaderBytes || file[0] != 'B' || file[1] != 'M') return false;
    const Bytes dib = file.subspan(kFileHeaderBytes);
    DibLayout layout;
    if (!readLayout(dib, layout)) return false;
    const std::uint32_t pixelOffset = le32(file, 10);
    if (pixelOffset < kFileHeaderBytes + layout.paletteEnd || pixelOffset > file.size()) return false;
    return decode(layout, file.subspan(pixelOffset), image);
}

}  // namespace MX::toolkit
