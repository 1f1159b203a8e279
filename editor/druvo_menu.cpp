#include "editor/druvo_menu.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "editor/indicator_values.h"
#include "link/channel_configuration.h"
#include "toolkit/bitmap.h"
#include "toolkit/draw_context.h"

namespace MX {

namespace {

constexpr const char kNotConnected[] = " <Not Connected>";

bool isUtf8Continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// Bytes before the NUL, or the whole field when it has none.
int nameLength(const MoltraxBusNameEntry& entry) {
    const void* end = std::memchr(entry.name, '\0', sizeof entry.name);
    return end ? static_cast<int>(static_cast<const char*>(end) - entry.name)
               : static_cast<int>(sizeof entry.name);
}

}  // namespace

void formatBusTitle(char (&title)[DruvoMenu::kTitleBytes], int number,
                    const MoltraxBusNameEntry& entry) noexcept {
    const char* configuration = link::channelConfigurationName(entry.channelCount);
    // Everything but the name: "NN: " and " (x.y)".
    const int fixed = std::snprintf(nullptr, 0, "%.2d:  ()%s", number, configuration);
    const int room = std::max(0, DruvoMenu::kTitleBytes - 1 - fixed);
    int length = nameLength(entry);
    if (length > room) {
        length = room;
        while (length > 0 && isUtf8Continuation(entry.name[length])) --length;
    }
    std::snprintf(title, sizeof title, "%.2d: %.*s (%s)", number, length, entry.name, configuration);
}

DruvoMenu::~DruvoMenu() {
    if (itemPictureStrip_) itemPictureStrip_->forget();
}

void DruvoMenu::setItemPictureStrip(toolkit::CBitmap* strip) {
    if (strip) strip->remember();
    if (itemPictureStrip_) itemPictureStrip_->forget();
    itemPictureStrip_ = strip;
    setDirty();
}

void DruvoMenu::fill(const MoltraxBusDirectory& directory) {
    const std::int32_t count = directory.count;
    for (std::int32_t i = 0; i < kItemCount; ++i) {
        char title[kTitleBytes];
        std::int32_t picture = editor::kPictureOff;
        if (i >= 1 && i - 1 < count) {
            const MoltraxBusNameEntry& entry = directory.entries[i - 1];
            formatBusTitle(title, i, entry);
            picture = editor::channelPicture(entry.channelCount);
        } else {
            std::snprintf(title, sizeof title, "%s", kNotConnected);
        }
        itemPictures_[i] = picture;
        if (toolkit::CMenuItem* item = getEntry(i)) {
            item->setTitle(title);
        } else {
            addEntry(title);
        }
    }
}

std::int32_t DruvoMenu::itemPicture(std::int32_t index) const {
    return index >= 0 && index < kItemCount ? itemPictures_[index] : editor::kPictureOff;
}

void DruvoMenu::draw(toolkit::CDrawContext* context) {
    const toolkit::CMenuItem* item = getEntry(getCurrent());
    drawText(context, item ? item->getTitle() : nullptr);
}

void DruvoMenu::drawText(toolkit::CDrawContext* context, const char* text, toolkit::CBitmap*) {
    using toolkit::CRect;
    setDirty(false);
    if (!context) return;

    const CRect& size = getViewSize();
    if (toolkit::CBitmap* background = getBackground()) {
        background->draw(context, size, getBackOffset());
    } else {
        context->setFillColor(getBackColor());
        context->fillRect(size);
    }
    if (itemPictureStrip_) {
        const CRect icon(size.left + kIconLeft, size.top + kIconTop, size.left + kIconLeft + kIconSize,
                         size.top + kIconTop + kIconSize);
        itemPictureStrip_->draw(context, icon, toolkit::CPoint(0, kIconSize * itemPicture(getCurrent())));
    }
    if (!text) return;

    CRect oldClip;
    context->getClipRect(oldClip);
    context->setClipRect(CRect(size).bound(oldClip));
    context->setFont(getFont());
    const CRect textArea(size.left + kTextLeft, size.top, size.right, size.bottom);
    if (getStyle() & toolkit::kShadowText) {
        context->setFontColor(getShadowColor());
        context->drawString(text, CRect(textArea).offset(1, 1), false, toolkit::kLeftText);
    }
    context->setFontColor(getFontColor());
    context->drawString(text, textArea, false, toolkit::kLeftText);
    context->setClipRect(oldClip);
}

}  // namespace MX
