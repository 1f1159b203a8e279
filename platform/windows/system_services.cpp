// Clocks, sleeping, paint delivery, OLE and the error box on Windows.
#define WIN32_LEAN_AND_MEAN
#include <ole2.h>
#include <windows.h>

#include <ctime>

#include "platform/platform.h"
#include "platform/system_error_box.h"

namespace MX::platform {

namespace {
// Successful OleInitialize calls of this thread not yet balanced. A failed
// call (the host's thread already in another apartment) must not be
// balanced: that OleUninitialize would tear down the host's own COM set-up.
thread_local int tOleInitializations = 0;
}  // namespace

std::uint32_t tickCount() noexcept { return GetTickCount(); }

void sleepMilliseconds(std::uint32_t ms) noexcept { Sleep(ms); }

void deliverPendingPaint() noexcept {
    MSG message{};
    if (PeekMessageA(&message, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessageA(&message);
}

void oleInitialize() noexcept {
    if (SUCCEEDED(OleInitialize(nullptr))) ++tOleInitializations;
}

void oleUninitialize() noexcept {
    if (tOleInitializations == 0) return;
    --tOleInitializations;
    OleUninitialize();
}

long clockMilliseconds() noexcept {
    const std::clock_t now = std::clock();
    if (now == static_cast<std::clock_t>(-1)) return 0;
    return static_cast<long>(static_cast<long long>(now) * 1000 / CLOCKS_PER_SEC);
}

namespace detail {

void showSystemErrorBox(const char* text, const char* caption, unsigned style) noexcept {
    MessageBoxA(nullptr, text, caption, style);
}

}  // namespace detail
}  // namespace MX::platform
