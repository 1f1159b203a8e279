// The clock the connection light blinks by: the process clock in milliseconds
// (platform::clockMilliseconds). Tests and the picture tool set their own.
// UI thread (the editor's idle).
#pragma once

namespace MX::editor {

using ClockSource = long (*)() noexcept;

long blinkClockMilliseconds() noexcept;
// Null restores the process clock. Returns the previous source. UI thread.
ClockSource setBlinkClock(ClockSource source) noexcept;

}  // namespace MX::editor
