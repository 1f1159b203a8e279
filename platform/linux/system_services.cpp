// Clocks, sleeping and the error box on Linux. There is no message queue or
// COM here: paint delivery and OLE set-up have nothing to do.
#include <cerrno>
#include <cstdio>
#include <ctime>

#include "platform/platform.h"
#include "platform/system_error_box.h"

namespace MX::platform {

namespace {

std::int64_t monotonicMilliseconds() noexcept {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Taken when the library is loaded: the clocks count from process start
// (for the plug-in, from when the host loaded it).
const std::int64_t gStartMilliseconds = monotonicMilliseconds();

std::int64_t millisecondsSinceStart() noexcept { return monotonicMilliseconds() - gStartMilliseconds; }

}  // namespace

std::uint32_t tickCount() noexcept {
    // Wraps after 49.7 days, as GetTickCount does.
    return static_cast<std::uint32_t>(millisecondsSinceStart());
}

void sleepMilliseconds(std::uint32_t ms) noexcept {
    timespec remaining{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
    while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
    }
}

void deliverPendingPaint() noexcept {}
void oleInitialize() noexcept {}
void oleUninitialize() noexcept {}

long clockMilliseconds() noexcept { return static_cast<long>(millisecondsSinceStart()); }

namespace detail {

void showSystemErrorBox(const char* text, const char* caption, unsigned /*style*/) noexcept {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    std::fflush(stderr);
}

}  // namespace detail
}  // namespace MX::platform
