// The bus menu: seventeen items, item k for bus selection k (0 = off). Its
// face shows the current item's channel picture and title over a flat
// background; clicking it opens the toolkit's pop-up menu.
// UI thread.
#pragma once

#include <cstdint>

#include "link/bus_records.h"
#include "toolkit/option_menu.h"

namespace MX {

class DruvoMenu : public toolkit::COptionMenu {
public:
    static constexpr std::int32_t kItemCount = MOLTRAX_BUS_COUNT + 1;
    static constexpr int kTitleBytes = 64;
    static constexpr int kIconSize = 11;
    static constexpr int kIconLeft = 3;
    static constexpr int kIconTop = 2;
    static constexpr int kTextLeft = 15;

    using toolkit::COptionMenu::COptionMenu;
    // Lets go of the item picture strip.
    ~DruvoMenu() override;

    // Holds `strip`: the item pictures, 11 x 11 each, stacked vertically.
    void setItemPictureStrip(toolkit::CBitmap* strip);
    toolkit::CBitmap* getItemPictureStrip() const { return itemPictureStrip_; }

    // Titles and pictures of all seventeen items from `directory`, in place:
    // the current item stays current. Items past the directory's count (0 to
    // 16 used) and item 0 read " <Not Connected>" with picture Off.
    void fill(const MoltraxBusDirectory& directory);
    // Channel picture of item `index`; Off outside 0..16.
    std::int32_t itemPicture(std::int32_t index) const;

    // The current item's title on the face, or the bare face without one.
    void draw(toolkit::CDrawContext* context) override;
    // Background, the current item's picture at (3, 2), then `text` from 15
    // pixels in, clipped to the menu. `newBack` is not used.
    void drawText(toolkit::CDrawContext* context, const char* text,
                  toolkit::CBitmap* newBack = nullptr) override;

private:
    toolkit::CBitmap* itemPictureStrip_ = nullptr;
    std::int32_t itemPictures_[kItemCount] = {};
};

// The title of bus `number` (1..16) for directory entry `entry`, formatted as
// "NN: name (configuration)" into `title` (kTitleBytes). The name is read up
// to its NUL or its 64th byte; a name too long for the title is shortened so
// that the configuration stays whole, never inside a UTF-8 character.
void formatBusTitle(char (&title)[DruvoMenu::kTitleBytes], int number,
                    const MoltraxBusNameEntry& entry) noexcept;

}  // namespace MX
