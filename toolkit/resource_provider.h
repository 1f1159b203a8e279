// Where bitmaps come from: CBitmap(id) asks the process-wide resource
// provider. The embedded provider serves BMP files compiled into the program
// by druvo_embed_resources() (see EmbedResources.cmake). UI thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

#include "toolkit/pixel_image.h"

namespace MX::toolkit {

struct EmbeddedResource {
    int id;
    const std::uint8_t* data;
    std::size_t size;
};
using ResourceTable = std::span<const EmbeddedResource>;

class ResourceProvider {
public:
    virtual ~ResourceProvider() = default;
    // Decodes bitmap `id`; false when there is no such bitmap or it does not decode.
    virtual bool loadBitmap(int id, PixelImage& image) = 0;
};

// BMP files held in memory, keyed by resource id.
class EmbeddedResourceProvider final : public ResourceProvider {
public:
    explicit EmbeddedResourceProvider(ResourceTable table) : table_(table) {}

    // The stored bytes of `id`; empty when the table has no such entry.
    std::span<const std::uint8_t> find(int id) const;
    bool loadBitmap(int id, PixelImage& image) override;

private:
    ResourceTable table_;
};

// Null (the start value) means no bitmaps: every CBitmap(id) comes out empty.
// The provider must outlive every CBitmap(id) made while it is set.
void setResourceProvider(ResourceProvider* provider) noexcept;
ResourceProvider* resourceProvider() noexcept;

}  // namespace MX::toolkit
