// A picture held in memory as 32-bit pixels, shared by reference counting
// between the views that show it. Always drawn opaquely.
// UI thread.
#pragma once

#include "toolkit/geometry.h"
#include "toolkit/pixel_image.h"
#include "toolkit/reference_counter.h"

namespace MX::toolkit {

class CDrawContext;

class CBitmap : public CReferenceCounter {
public:
    // Loads bitmap `resourceId` through the current resource provider; the
    // bitmap is empty (0 x 0, not loaded) when that fails. Its double-size
    // drawing (id + kDoubleSizeIdOffset) comes along where the provider has one.
    explicit CBitmap(int resourceId);
    // From decoded pixels, made opaque; empty when the size does not match the pixels.
    explicit CBitmap(PixelImage image);

    int getResourceId() const { return resourceId_; }  // -1 when made from pixels
    CCoord getWidth() const { return image_.width; }
    CCoord getHeight() const { return image_.height; }
    bool isLoaded() const { return !image_.empty(); }
    const PixelImage& image() const { return image_; }
    // The drawing to scale from at display `scale`: the double-size one above
    // scale 1 where there is one, else the 1x image. `imageScale` is set to 2 or 1.
    const PixelImage& imageFor(double scale, int& imageScale) const;

    // Copies the area of `rect`'s size whose top-left source pixel is `offset`
    // into `rect`. Source pixels outside the bitmap are not drawn.
    void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint()) const;

private:
    int resourceId_ = -1;
    PixelImage image_;
    PixelImage doubleImage_;  // empty without a double-size drawing
};

}  // namespace MX::toolkit
