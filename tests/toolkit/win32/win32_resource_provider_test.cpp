// The editor's bitmaps as the Win32 module resources decode to the same
// images as the committed files.
#include <gtest/gtest.h>

#include "toolkit/win32/win32_resource_provider.h"
#include "toolkitTestBitmaps.h"

using namespace MX::toolkit;

TEST(Win32ResourceProviderTest, BitmapResourcesDecodeToTheSameImagesAsTheFiles) {
    Win32ResourceProvider resources;
    EmbeddedResourceProvider files(MX::toolkitTestBitmaps());
    for (int id : {101, 109, 110, 115, 116, 118}) {
        PixelImage fromResource;
        PixelImage fromFile;
        ASSERT_TRUE(resources.loadBitmap(id, fromResource)) << id;
        ASSERT_TRUE(files.loadBitmap(id, fromFile)) << id;
        EXPECT_EQ(fromResource.width, fromFile.width) << id;
        EXPECT_EQ(fromResource.height, fromFile.height) << id;
        EXPECT_EQ(fromResource.pixels, fromFile.pixels) << id;
    }
    PixelImage missing;
    EXPECT_FALSE(resources.loadBitmap(102, missing));
    EXPECT_FALSE(resources.loadBitmap(-1, missing));
    EXPECT_TRUE(missing.empty());
}
