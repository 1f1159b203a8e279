// A control that shows the title of its current item and lets the user pick
// another one from the system pop-up menu. Its value is the picked index.
// UI thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/param_display.h"

namespace MX::toolkit {

class CMenuItem {
public:
    enum Flags : std::int32_t { kNoFlags = 0, kDisabled = 1 << 0, kChecked = 1 << 3 };

    explicit CMenuItem(const char* title, std::int32_t flags = kNoFlags) : flags_(flags) { setTitle(title); }

    void setTitle(const char* title) { title_ = title ? title : ""; }
    const char* getTitle() const { return title_.c_str(); }
    std::int32_t getFlags() const { return flags_; }

private:
    std::string title_;
    std::int32_t flags_;
};

class COptionMenu : public CParamDisplay {
public:
    // Holds `background` and `bgWhenClick` (shown while the pop-up is open) when given.
    COptionMenu(const CRect& size, CControlListener* listener, std::int32_t tag,
                CBitmap* background = nullptr, CBitmap* bgWhenClick = nullptr, std::int32_t style = 0);
    ~COptionMenu() override;

    // Inserts an item before `index`, or appends it when `index` is -1 or past the end.
    CMenuItem* addEntry(const char* title, std::int32_t index = -1, std::int32_t flags = CMenuItem::kNoFlags);
    CMenuItem* getEntry(std::int32_t index) const;  // null when out of range
    std::int32_t getNbEntries() const { return static_cast<std::int32_t>(items_.size()); }

    // False, and nothing changes, when `index` names no item; otherwise marks the menu for redraw.
    bool setCurrent(std::int32_t index);
    std::int32_t getCurrent() const { return current_; }  // -1 until set or picked

    // The current item's title through drawText; no text without a current item.
    void draw(CDrawContext* context) override;
    // Left or right button: begin an edit of the tag and show the pop-up.
    // When it closes (now, or later on backends whose list stays open across
    // idle calls): on a pick make that item current (value, redraw mark,
    // listener); end the edit whether or not an item was picked. A click
    // while the pop-up is open does nothing.
    CMouseEventResult onMouseDown(CPoint& where, const CButtonState& buttons) override;

    CBitmap* getBgWhenClick() const { return bgWhenClick_; }
    bool isPopupOpen() const { return popupOpen_; }

private:
    void popupClosed(int chosen);

    std::vector<std::unique_ptr<CMenuItem>> items_;
    std::int32_t current_ = -1;
    CBitmap* bgWhenClick_ = nullptr;
    bool popupOpen_ = false;
};

}  // namespace MX::toolkit
