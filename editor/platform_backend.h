// The window system the editor's frame lives in, for the host's parent
// window, and where its bitmaps come from. One source file per OS under
// editor/<os>/ implements both.
// UI thread.
#pragma once

#include "toolkit/backend.h"
#include "toolkit/resource_provider.h"

namespace MX::toolkit {

// The backend of this OS; null when frames have nothing to draw into. UI thread.
Backend* platformBackend() noexcept;
// Where this OS keeps the editor's bitmaps: the DLL's resources on Windows,
// compiled-in copies elsewhere. UI thread.
ResourceProvider* platformResourceProvider() noexcept;

}  // namespace MX::toolkit
