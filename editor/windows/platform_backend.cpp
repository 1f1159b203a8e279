// Windows, for now: no window backend yet, so frames draw nothing and every
// pop-up counts as dismissed.
#include "editor/platform_backend.h"

namespace MX::toolkit {

Backend* platformBackend() noexcept { return nullptr; }

}  // namespace MX::toolkit
