// The BMP reader on arbitrary bytes, as a file and as a packed DIB: a decoded
// picture has sides within the limits and exactly one pixel per position.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "toolkit/bmp_reader.h"

namespace {

void decodeAndCheck(bool (*decode)(std::span<const std::uint8_t>, MX::toolkit::PixelImage&),
                    std::span<const std::uint8_t> bytes) {
    MX::toolkit::PixelImage image;
    if (!decode(bytes, image)) {
        if (!image.empty() || !image.pixels.empty()) std::abort();  // a refusal leaves the picture empty
        return;
    }
    if (image.width <= 0 || image.height <= 0 || image.width > MX::toolkit::kBmpMaxSide ||
        image.height > MX::toolkit::kBmpMaxSide ||
        image.pixels.size() != static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height))
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    decodeAndCheck(MX::toolkit::decodeBmp, bytes);
    decodeAndCheck(MX::toolkit::decodeDib, bytes);
    return 0;
}
