// Windows: the frame is a child of the host's window, painted with GDI; the
// bitmaps are the DLL's own BITMAP resources.
#include "editor/platform_backend.h"

#include "toolkit/win32/win32_backend.h"
#include "toolkit/win32/win32_resource_provider.h"

namespace MX::toolkit {

Backend* platformBackend() noexcept {
    static Win32Backend backend;
    return &backend;
}

ResourceProvider* platformResourceProvider() noexcept {
    static Win32ResourceProvider resources;
    return &resources;
}

}  // namespace MX::toolkit
