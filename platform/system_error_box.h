// The OS's own error box, behind the replaceable handler of showErrorBox.
// Each OS folder provides it.
// UI thread, where the box is shown.
#pragma once

namespace MX::platform::detail {

// Arguments are never null here.
void showSystemErrorBox(const char* text, const char* caption, unsigned style) noexcept;

}  // namespace MX::platform::detail
