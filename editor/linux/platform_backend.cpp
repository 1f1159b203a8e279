// Linux, for now: frames draw into offscreen images, so a host (or a test
// without a display) can open the editor and everything it draws is kept.
#include "editor/platform_backend.h"

#include "toolkit/offscreen/offscreen_backend.h"

namespace MX::toolkit {

Backend* platformBackend() noexcept {
    static OffscreenBackend backend;
    return &backend;
}

}  // namespace MX::toolkit
