#include "toolkit/win32/win32_frame.h"

#include <string>
#include <utility>

#include "toolkit/display_scale.h"
#include "toolkit/frame.h"
#include "toolkit/win32/frame_window_class.h"
#include "toolkit/win32/window_dpi.h"

namespace MX::toolkit {

namespace {

CButtonState buttonsOf(UINT message, WPARAM wParam) {
    CButtonState buttons = 0;
    if (message == WM_LBUTTONDOWN) buttons |= kLButton;
    if (message == WM_MBUTTONDOWN) buttons |= kMButton;
    if (message == WM_RBUTTONDOWN) buttons |= kRButton;
    if (wParam & MK_SHIFT) buttons |= kShift;
    if (wParam & MK_CONTROL) buttons |= kControl;
    if (GetKeyState(VK_MENU) < 0) buttons |= kAlt;
    return buttons;
}

// Menus take '&' as the mark of a shortcut letter; a title shows it doubled.
std::string menuText(const char* title) {
    std::string text;
    for (const char* c = title ? title : ""; *c; ++c) {
        if (*c == '&') text += '&';
        text += *c;
    }
    return text;
}

// Newer than some compilers' headers.
constexpr UINT kDpiChanged = 0x02E0;
constexpr UINT kDpiChangedAfterParent = 0x02E3;

}  // namespace

std::unique_ptr<Win32Frame> Win32Frame::create(CFrame& frame, HWND parent) {
    if (!parent || !IsWindow(parent) || frame.getViewSize().isEmpty()) return nullptr;
    std::unique_ptr<Win32Frame> platform(new Win32Frame(frame));
    if (!platform->open(parent)) return nullptr;
    return platform;
}

double Win32Frame::scale() const { return frame_.getScale(); }

bool Win32Frame::makeBuffer() {
    const CRect size = frame_.getDeviceSize();
    HDC screen = GetDC(nullptr);
    bufferDc_ = CreateCompatibleDC(screen);
    buffer_ = CreateCompatibleBitmap(screen, size.width(), size.height());
    ReleaseDC(nullptr, screen);
    if (!bufferDc_ || !buffer_) return false;
    previousBitmap_ = SelectObject(bufferDc_, buffer_);
    // The memory bitmap's origin is the frame's top-left corner.
    SetViewportOrgEx(bufferDc_, -size.left, -size.top, nullptr);
    context_ = std::make_unique<GdiDrawContext>(bufferDc_, frame_.getViewSize(), scale());
    return true;
}

void Win32Frame::releaseBuffer() {
    context_.reset();  // deletes its font
    if (previousBitmap_) SelectObject(bufferDc_, previousBitmap_);
    if (buffer_) DeleteObject(buffer_);
    if (bufferDc_) DeleteDC(bufferDc_);
    previousBitmap_ = nullptr;
    buffer_ = nullptr;
    bufferDc_ = nullptr;
}

bool Win32Frame::open(HWND parent) {
    if (!makeBuffer()) return false;
    const CRect size = frame_.getDeviceSize();
    classAcquired_ = FrameWindowClass::acquire(&Win32Frame::windowProcedure);
    if (!classAcquired_) return false;
    window_ =
        CreateWindowExA(0, FrameWindowClass::name(), "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 0,
                        size.width(), size.height(), parent, nullptr, FrameWindowClass::instance(), this);
    return window_ != nullptr;
}

Win32Frame::~Win32Frame() {
    if (destroyed_) *destroyed_ = true;
    if (PopupMenuDone done = std::exchange(popupDone_, {})) {
        EndMenu();
        done(-1);
    }
    if (window_) {
        SetWindowLongPtrA(window_, GWLP_USERDATA, 0);  // no messages reach this object any more
        DestroyWindow(window_);
    }
    if (classAcquired_) FrameWindowClass::release();
    releaseBuffer();
}

void Win32Frame::scaleChanged() {
    releaseBuffer();
    if (!makeBuffer()) {
        releaseBuffer();
        return;
    }
    const CRect size = frame_.getDeviceSize();
    if (window_)
        SetWindowPos(window_, nullptr, 0, 0, size.width(), size.height(),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CDrawContext* Win32Frame::beginDraw() {
    if (!window_ || !context_) return nullptr;
    context_->resetClipRect();
    return context_.get();
}

void Win32Frame::endDraw() {
    if (!window_ || !context_) return;
    HDC dc = GetDC(window_);
    show(dc, frame_.getViewSize());
    ReleaseDC(window_, dc);
}

void Win32Frame::show(HDC dc, const CRect& area) {
    const CRect size = frame_.getDeviceSize();
    const CRect shown = toDevice(area, scale());
    BitBlt(dc, shown.left - size.left, shown.top - size.top, shown.width(), shown.height(), bufferDc_,
           shown.left, shown.top, SRCCOPY);
}

void Win32Frame::paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window_, &paint);
    const CRect& size = frame_.getViewSize();
    const CRect area =
        fromDevice(CRect(paint.rcPaint.left, paint.rcPaint.top, paint.rcPaint.right, paint.rcPaint.bottom),
                   scale())
            .offset(size.left, size.top);
    if (dc && context_ && !area.isEmpty()) {
        context_->resetClipRect();
        frame_.drawRect(context_.get(), area);
        show(dc, area);
    }
    EndPaint(window_, &paint);
}

void Win32Frame::popupMenu(const PopupMenuRequest& request, PopupMenuDone done) {
    HMENU menu = window_ && !popupDone_ && !request.titles.empty() ? CreatePopupMenu() : nullptr;
    if (!menu) {
        done(-1);
        return;
    }
    for (std::size_t i = 0; i < request.titles.size(); ++i) {
        const UINT flags =
            MF_STRING | (static_cast<int>(i) == request.checkedIndex ? MF_CHECKED : MF_UNCHECKED);
        AppendMenuA(menu, flags, i + 1, menuText(request.titles[i].c_str()).c_str());
    }
    const CRect size = frame_.getDeviceSize();
    const CRect anchor = toDevice(request.anchor, scale());
    POINT where{anchor.left - size.left, anchor.bottom - size.top};
    ClientToScreen(window_, &where);
    popupDone_ = std::move(done);
    bool destroyed = false;
    destroyed_ = &destroyed;
    const UINT command = static_cast<UINT>(
        TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RETURNCMD | TPM_LEFTBUTTON | TPM_RIGHTBUTTON,
                       where.x, where.y, 0, window_, nullptr));
    DestroyMenu(menu);
    if (destroyed) return;  // closed from inside the menu's loop: the destructor answered -1
    destroyed_ = nullptr;
    if (PopupMenuDone finish = std::exchange(popupDone_, {}))
        finish(command > 0 ? static_cast<int>(command) - 1 : -1);
}

LRESULT CALLBACK Win32Frame::windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<Win32Frame*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    if (message == WM_NCCREATE) self->window_ = window;
    return self->handle(message, wParam, lParam);
}

LRESULT Win32Frame::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the frame paints every pixel
        case WM_LBUTTONDOWN:
        case WM_MBUTTONDOWN:
        case WM_RBUTTONDOWN: {
            const CRect& size = frame_.getViewSize();
            CPoint where(size.left + fromDevice(static_cast<short>(LOWORD(lParam)), scale()),
                         size.top + fromDevice(static_cast<short>(HIWORD(lParam)), scale()));
            frame_.onMouseDown(where, buttonsOf(message, wParam));
            return 0;
        }
        case kDpiChanged:
        case kDpiChangedAfterParent:
            // A per-monitor-aware window moved to a display of another DPI.
            frame_.displayScaleChanged(windowDpi(window_) / kDefaultDpi);
            return DefWindowProcA(window_, message, wParam, lParam);
        case WM_NCDESTROY: {
            // The host destroyed its window first and took this one along.
            HWND window = window_;
            SetWindowLongPtrA(window, GWLP_USERDATA, 0);
            window_ = nullptr;
            return DefWindowProcA(window, message, wParam, lParam);
        }
        default:
            return DefWindowProcA(window_, message, wParam, lParam);
    }
}

}  // namespace MX::toolkit
