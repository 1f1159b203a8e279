#include "tools/artwork/bmp_writer.h"

#include <fstream>
#include <stdexcept>

namespace MX::artwork {

namespace {

void put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
    out.push_back(static_cast<std::uint8_t>(v));
    out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

std::vector<std::uint8_t> packRows(const IndexedImage& image, int bits) {
    const std::size_t stride = (static_cast<std::size_t>(image.width) * bits + 31) / 32 * 4;
    std::vector<std::uint8_t> data;
    for (int y = image.height - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(stride, 0);
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t index = image.indices[static_cast<std::size_t>(y) * image.width + x];
            if (bits == 8) {
                row[x] = index;
            } else {
                row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
            }
        }
        data.insert(data.end(), row.begin(), row.end());
    }
    return data;
}

// Runs of two or more become (count, index); other stretches of three or more
// become absolute blocks padded to an even length; shorter ones single runs.
std::vector<std::uint8_t> encodeRle8(const IndexedImage& image) {
    std::vector<std::uint8_t> data;
    for (int y = image.height - 1; y >= 0; --y) {
        const std::uint8_t* row = image.indices.data() + static_cast<std::size_t>(y) * image.width;
        const int w = image.width;
        int i = 0;
        while (i < w) {
            int run = 1;
            while (i + run < w && run < 255 && row[i + run] == row[i]) ++run;
            if (run >= 2) {
                data.push_back(static_cast<std::uint8_t>(run));
                data.push_back(row[i]);
                i += run;
                continue;
            }
            int j = i;
            while (j < w && j - i < 255 && !(j + 1 < w && row[j] == row[j + 1])) ++j;
            const int n = j - i;
            if (n >= 3) {
                data.push_back(0);
                data.push_back(static_cast<std::uint8_t>(n));
                data.insert(data.end(), row + i, row + j);
                if (n % 2) data.push_back(0);
            } else {
                for (int k = i; k < j; ++k) {
                    data.push_back(1);
                    data.push_back(row[k]);
                }
            }
            i = j;
        }
        data.push_back(0);
        data.push_back(y == 0 ? 1 : 0);  // end of bitmap after the top row, else end of line
    }
    return data;
}

}  // namespace

std::vector<std::uint8_t> encodeBmp(const IndexedImage& image, BmpEncoding encoding) {
    const int bits = encoding == BmpEncoding::Palette4 ? 4 : 8;
    if (image.palette.empty() || image.palette.size() > (1u << bits))
        throw std::runtime_error("palette too large");
    const std::vector<std::uint8_t> pixels =
        encoding == BmpEncoding::Palette8Rle ? encodeRle8(image) : packRows(image, bits);

    constexpr std::uint32_t kHeaders = 14 + 40;
    const auto paletteBytes = static_cast<std::uint32_t>(4 * image.palette.size());
    const std::uint32_t offset = kHeaders + paletteBytes;
    std::vector<std::uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, offset + static_cast<std::uint32_t>(pixels.size()));
    put32(out, 0);
    put32(out, offset);

    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(image.width));
    put32(out, static_cast<std::uint32_t>(image.height));  // positive: bottom-up
    put16(out, 1);
    put16(out, static_cast<std::uint32_t>(bits));
    put32(out, encoding == BmpEncoding::Palette8Rle ? 1 : 0);
    put32(out, static_cast<std::uint32_t>(pixels.size()));
    put32(out, 2835);  // 72 dpi
    put32(out, 2835);
    put32(out, static_cast<std::uint32_t>(image.palette.size()));
    put32(out, 0);

    for (std::uint32_t c : image.palette) {
        out.push_back(static_cast<std::uint8_t>(c));
        out.push_back(static_cast<std::uint8_t>(c >> 8));
        out.push_back(static_cast<std::uint8_t>(c >> 16));
        out.push_back(0);
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file) throw std::runtime_error("cannot write " + path);
}

}  // namespace MX::artwork
