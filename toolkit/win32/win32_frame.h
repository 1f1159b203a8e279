// A frame's surface on Windows: a child window of the host's window. The
// frame draws into a bitmap in memory that is copied to the window with
// BitBlt after each redraw and on WM_PAINT; clicks go to the frame; the
// option menu's pop-up is the system's TrackPopupMenu, whose modal loop also
// runs the host's timers (and so its idle calls, even one that closes the
// editor). The host's message loop delivers the window's messages. UI thread
// only.
#pragma once

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include <memory>

#include "toolkit/backend.h"
#include "toolkit/win32/gdi_draw_context.h"

namespace MX::toolkit {

class Win32Frame final : public PlatformFrame {
public:
    // Null when `parent` is not a window or a GDI object cannot be made.
    static std::unique_ptr<Win32Frame> create(CFrame& frame, HWND parent);
    // Ends an open pop-up (its callback gets -1), destroys the window (unless
    // its parent took it along already) and every GDI object.
    ~Win32Frame() override;
    Win32Frame(const Win32Frame&) = delete;
    Win32Frame& operator=(const Win32Frame&) = delete;

    CDrawContext* beginDraw() override;
    void endDraw() override;
    void popupMenu(const PopupMenuRequest& request, PopupMenuDone done) override;
    // A new memory bitmap at the frame's scale, the window resized to it.
    void scaleChanged() override;

    HWND window() const { return window_; }

private:
    explicit Win32Frame(CFrame& frame) : frame_(frame) {}
    bool open(HWND parent);
    // The memory bitmap and its context for the frame's size at its scale.
    bool makeBuffer();
    void releaseBuffer();
    double scale() const;
    static LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);
    void paint();
    // Copies `area` (frame pixels) of the memory bitmap to the window's device context `dc`.
    void show(HDC dc, const CRect& area);

    CFrame& frame_;
    bool classAcquired_ = false;
    HWND window_ = nullptr;
    HDC bufferDc_ = nullptr;
    HBITMAP buffer_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
    std::unique_ptr<GdiDrawContext> context_;
    // The open pop-up's callback, and a flag in popupMenu's frame that the
    // destructor sets when it runs inside the pop-up's loop.
    PopupMenuDone popupDone_;
    bool* destroyed_ = nullptr;
};

}  // namespace MX::toolkit
