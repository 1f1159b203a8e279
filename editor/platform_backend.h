// The window system the editor's frame lives in, for the host's parent
// window. One source file per OS under editor/<os>/ implements it; the
// window backends replace those files as they arrive.
#pragma once

#include "toolkit/backend.h"

namespace MX::toolkit {

// The backend of this OS; null when frames have nothing to draw into. UI thread.
Backend* platformBackend() noexcept;

}  // namespace MX::toolkit
