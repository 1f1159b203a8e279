// Bitmaps from a module's own resources (type BITMAP, numeric id), as the
// Windows builds carry the editor's artwork: found with FindResourceA,
// decoded by the toolkit's BMP reader. UI thread only.
#pragma once

#include "toolkit/resource_provider.h"

namespace MX::toolkit {

class Win32ResourceProvider final : public ResourceProvider {
public:
    // Reads the resources of the module with instance handle `instance`;
    // null means this library's own (platform::libraryInstance()).
    explicit Win32ResourceProvider(void* instance = nullptr);

    bool loadBitmap(int id, PixelImage& image) override;

private:
    void* instance_;
};

}  // namespace MX::toolkit
