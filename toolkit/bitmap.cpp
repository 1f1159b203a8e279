#include "toolkit/bitmap.h"

#include <utility>

#include "toolkit/display_scale.h"
#include "toolkit/draw_context.h"
#include "toolkit/resource_provider.h"

namespace MX::toolkit {

CBitmap::CBitmap(int resourceId) : resourceId_(resourceId) {
    ResourceProvider* provider = resourceProvider();
    if (provider != nullptr) provider->loadBitmap(resourceId, image_);
    if (image_.empty()) {
        image_ = PixelImage{};
        return;
    }
    if (!provider->loadBitmap(resourceId + kDoubleSizeIdOffset, doubleImage_) ||
        doubleImage_.width != 2 * image_.width || doubleImage_.height != 2 * image_.height) {
        doubleImage_ = PixelImage{};
    }
}

const PixelImage& CBitmap::imageFor(double scale, int& imageScale) const {
    const bool doubled = scale > 1.0 && !doubleImage_.empty();
    imageScale = doubled ? 2 : 1;
    return doubled ? doubleImage_ : image_;
}

CBitmap::CBitmap(PixelImage image) : image_(std::move(image)) {
    const bool consistent = image_.width > 0 && image_.height > 0 &&
                            image_.pixels.size() == static_cast<std::size_t>(image_.width) * image_.height;
    if (!consistent) {
        image_ = PixelImage{};
        return;
    }
    for (std::uint32_t& pixel : image_.pixels) pixel |= 0xFF000000u;  // bitmaps are opaque
}

void CBitmap::draw(CDrawContext* context, const CRect& rect, const CPoint& offset) const {
    if (context) context->drawBitmap(*this, rect, offset);
}

}  // namespace MX::toolkit
