// The plug-in's window: a 317 x 59 panel (times the display scale) with the channel display, and, while
// the effect's connection state is not kNoRecord, the selection panel, the bus menu
// and the connection light. Everything it shows is pulled from the effect on
// the host's idle calls; a pick in the bus menu sets the effect's parameter.
// Every operation runs on the host's UI thread.
#pragma once

#include <cstdint>

#include "link/connection_state.h"
#include "plugin/sdk/aeffguieditor.h"
#include "toolkit/control.h"
#include "toolkit/geometry.h"

namespace MX {

namespace toolkit {
class CAutoAnimation;
class CFrame;
}  // namespace toolkit

class Druvo;
class DruvoMenu;

class DruvoEditor : public AEffGUIEditor, public toolkit::CControlListener {
public:
    static constexpr short kWidth = 317;
    static constexpr short kHeight = 59;

    // Registers itself as `effect`'s editor; the effect owns it.
    explicit DruvoEditor(Druvo* effect) noexcept;
    // Closes the window if the host left it open.
    ~DruvoEditor() override;

    // Builds the frame in `parentWindow` and the four views; true. A window
    // that is already open is closed first, and so is one that the host
    // opened from the endEdit which that close sent.
    bool open(void* parentWindow) override;
    // Destroys the frame and every view; the parent window stays recorded.
    // The editor holds none of them by the time the frame's teardown ends an
    // open edit, so the host may idle, close or open it from that endEdit.
    void close() override;
    // Refresh: bus list, current item, views for the connection state, the light
    // and the channel display, then the redraw of what changed.
    void idle() override;
    // A pick in the bus menu sets parameter 0 to item × 0.0625.
    void valueChanged(toolkit::CControl* control) override;

    // The window's size at the scale it opens at (or is open at).
    bool getRect(ERect** place) override;
    // The host's scale, which from now on wins over the system's; an open
    // window redraws at it and asks the host for the new size. False for a
    // scale that is not a positive number.
    bool setContentScaleFactor(float scale) override;
    // The system's scale for the window changed (it moved to another display);
    // taken unless the host stated its own.
    void displayScaleChanged(double scale) override;
    double scale() const noexcept { return scale_; }

    // The views while the window is open; null otherwise.
    toolkit::CFrame* getCFrame() const noexcept;
    DruvoMenu* busMenu() const noexcept { return busMenu_; }
    toolkit::CAutoAnimation* connectionLight() const noexcept { return connectionLight_; }
    toolkit::CAutoAnimation* channelDisplay() const noexcept { return channelDisplay_; }
    toolkit::CAutoAnimation* selectionPanel() const noexcept { return selectionPanel_; }

private:
    Druvo& druvo() const noexcept;
    // Frame, background and the four views; may throw std::bad_alloc part-way.
    void buildWindow(void* parentWindow);
    void attachLinkViews();
    void detachLinkViews();
    void refreshIndicators(link::ConnectionState state);
    // The host's scale where it gave one, else the system's for `parentWindow`; rounded.
    double wantedScale(void* parentWindow) const;
    // The rectangle for a window of `size` (frame pixels) at `scale`.
    void sizeRect(const toolkit::CRect& size, double scale);
    // Takes `scale` for the rectangle and an open window; asks the host to resize.
    void applyScale(double scale);

    DruvoMenu* busMenu_ = nullptr;
    toolkit::CAutoAnimation* connectionLight_ = nullptr;
    toolkit::CAutoAnimation* channelDisplay_ = nullptr;
    toolkit::CAutoAnimation* selectionPanel_ = nullptr;
    link::ConnectionState lastShownState_ = link::ConnectionState::kNoRecord;
    double hostScale_ = 0.0;  // 0 until the host states its scale
    double scale_ = 1.0;
};

// The effect's editor factory: builds a DruvoEditor for `effect`, which owns
// it; without memory for it the effect works without a window.
void createDruvoEditor(Druvo& effect) noexcept;

}  // namespace MX
