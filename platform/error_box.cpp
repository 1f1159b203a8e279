// The error box with a replaceable handler, so tests never block on a box
// or write to the desktop.
#include <atomic>

#include "platform/platform.h"
#include "platform/system_error_box.h"

namespace MX::platform {

namespace {
std::atomic<ErrorBoxHandler> gHandler{nullptr};
}

void showErrorBox(const char* text, const char* caption, unsigned style) noexcept {
    const char* safeText = text ? text : "";
    const char* safeCaption = caption ? caption : "";
    if (ErrorBoxHandler handler = gHandler.load(std::memory_order_acquire)) {
        handler(safeText, safeCaption, style);
        return;
    }
    detail::showSystemErrorBox(safeText, safeCaption, style);
}

ErrorBoxHandler setErrorBoxHandler(ErrorBoxHandler handler) noexcept {
    return gHandler.exchange(handler, std::memory_order_acq_rel);
}

}  // namespace MX::platform
