#include "toolkit/resource_provider.h"

#include "toolkit/bmp_reader.h"

namespace MX::toolkit {

namespace {
ResourceProvider* currentProvider = nullptr;
}  // namespace

std::span<const std::uint8_t> EmbeddedResourceProvider::find(int id) const {
    for (const EmbeddedResource& entry : table_) {
        if (entry.id == id && entry.data) return {entry.data, entry.size};
    }
    return {};
}

bool EmbeddedResourceProvider::loadBitmap(int id, PixelImage& image) {
    const std::span<const std::uint8_t> bytes = find(id);
    if (bytes.empty()) {
        image = PixelImage{};
        return false;
    }
    return decodeBmp(bytes, image);
}

void setResourceProvider(ResourceProvider* provider) noexcept { currentProvider = provider; }
ResourceProvider* resourceProvider() noexcept { return currentProvider; }

}  // namespace MX::toolkit
