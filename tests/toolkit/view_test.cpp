// Reference counting of views and bitmaps, and who holds a view when.
#include <gtest/gtest.h>

#include "recording_backend.h"

using namespace MX::toolkit;
using MX::toolkit::testing::ProbeView;

namespace {

CBitmap* smallBitmap() { return new CBitmap(PixelImage{2, 2, std::vector<std::uint32_t>(4, 0xFF102030)}); }

}  // namespace

TEST(ReferenceCounting, ViewsHoldTheirBackgroundBitmap) {
    CBitmap* bitmap = smallBitmap();
    auto* view = new CView(CRect(0, 0, 2, 2));
    view->setBackground(bitmap);
    EXPECT_EQ(bitmap->getNbReference(), 2);
    bitmap->forget();  // the creator lets go right after handing it over
    EXPECT_EQ(bitmap->getNbReference(), 1);

    CBitmap* other = smallBitmap();
    other->remember();  // keep it alive to look at it afterwards
    view->setBackground(other);
    EXPECT_EQ(other->getNbReference(), 3);
    other->forget();
    view->forget();
    EXPECT_EQ(other->getNbReference(), 1);
    other->forget();
}

TEST(ReferenceCounting, ControlsAndMenusHoldTheBitmapsTheyAreGiven) {
    CBitmap* strip = smallBitmap();
    CBitmap* click = smallBitmap();
    strip->remember();
    click->remember();
    auto* menu = new COptionMenu(CRect(0, 0, 2, 2), nullptr, 0, strip, click);
    auto* anim = new CAutoAnimation(CRect(0, 0, 2, 2), nullptr, 0, 1, 2, strip);
    EXPECT_EQ(strip->getNbReference(), 4);
    EXPECT_EQ(click->getNbReference(), 3);
    menu->forget();
    anim->forget();
    EXPECT_EQ(strip->getNbReference(), 2);
    EXPECT_EQ(click->getNbReference(), 2);
    for (CBitmap* b : {strip, strip, click, click}) b->forget();
}

TEST(FrameMembership, AddTakesOverTheReferenceAndRemoveGivesItBackOrDropsIt) {
    int destroyed = 0;
    auto* frame = new CFrame(CRect(0, 0, 100, 50), nullptr, nullptr);
    auto* view = new ProbeView(CRect(0, 0, 10, 10), &destroyed);

    ASSERT_TRUE(frame->addView(view));
    EXPECT_EQ(view->getNbReference(), 1);
    EXPECT_TRUE(view->isAttached());
    EXPECT_EQ(view->getFrame(), frame);
    EXPECT_FALSE(frame->addView(view)) << "already in a frame";

    ASSERT_TRUE(frame->removeView(view, false));
    EXPECT_FALSE(view->isAttached());
    EXPECT_EQ(view->getFrame(), nullptr);
    EXPECT_EQ(destroyed, 0);
    EXPECT_FALSE(frame->removeView(view, false)) << "no longer a child";

    ASSERT_TRUE(frame->addView(view));
    ASSERT_TRUE(frame->removeView(view, true));
    EXPECT_EQ(destroyed, 1);
    frame->forget();
}

TEST(FrameMembership, ClosingTheFrameReleasesOnlyAttachedViews) {
    int destroyed = 0;
    auto* frame = new CFrame(CRect(0, 0, 100, 50), nullptr, nullptr);
    auto* attached = new ProbeView(CRect(0, 0, 10, 10), &destroyed);
    auto* detached = new ProbeView(CRect(10, 0, 20, 10), &destroyed);
    auto* shared = new ProbeView(CRect(20, 0, 30, 10), &destroyed);
    frame->addView(attached);
    frame->addView(detached);
    frame->addView(shared);
    frame->removeView(detached, false);
    shared->remember();  // someone else holds it too

    delete frame;
    EXPECT_EQ(destroyed, 1);
    EXPECT_FALSE(shared->isAttached());
    EXPECT_EQ(shared->getNbReference(), 1);
    shared->forget();
    detached->forget();
    EXPECT_EQ(destroyed, 3);
}

TEST(FrameMembership, RefusesNullAndViewsOfAnotherFrame) {
    CFrame a(CRect(0, 0, 10, 10), nullptr, nullptr);
    CFrame b(CRect(0, 0, 10, 10), nullptr, nullptr);
    auto* view = new CView(CRect(0, 0, 5, 5));
    EXPECT_FALSE(a.addView(nullptr));
    ASSERT_TRUE(a.addView(view));
    EXPECT_FALSE(b.addView(view));
    EXPECT_FALSE(b.removeView(view));
    EXPECT_TRUE(a.isChild(view));
    EXPECT_EQ(a.getNbViews(), 1);
    EXPECT_EQ(a.getView(0), view);
    EXPECT_EQ(a.getView(1), nullptr);
}
