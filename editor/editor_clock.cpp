#include "editor/editor_clock.h"

#include "platform/platform.h"

namespace MX::editor {

namespace {
ClockSource currentSource = nullptr;
}  // namespace

long blinkClockMilliseconds() noexcept {
    return currentSource ? currentSource() : platform::clockMilliseconds();
}

ClockSource setBlinkClock(ClockSource source) noexcept {
    const ClockSource previous = currentSource;
    currentSource = source;
    return previous;
}

}  // namespace MX::editor
