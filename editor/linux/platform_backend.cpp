// Linux: the frame is a child of the host's X11 window when the host gives
// one and the display opens; otherwise it draws into an offscreen image, so a
// host without a display (or a test) can still open the editor.
#include "editor/platform_backend.h"

#include "editorBitmaps.h"
#include "toolkit/offscreen/offscreen_backend.h"
#include "toolkit/resource_provider.h"
#include "toolkit/x11/x11_backend.h"

namespace MX::toolkit {

namespace {

class LinuxBackend final : public Backend {
public:
    std::unique_ptr<PlatformFrame> createFrame(CFrame& frame, void* parentWindow) override {
        if (parentWindow) {
            if (auto window = x11_.createFrame(frame, parentWindow)) return window;
        }
        return offscreen_.createFrame(frame, parentWindow);
    }
    double displayScale(void* parentWindow) override { return x11_.displayScale(parentWindow); }

private:
    X11Backend x11_;
    OffscreenBackend offscreen_;
};

}  // namespace

Backend* platformBackend() noexcept {
    static LinuxBackend backend;
    return &backend;
}

ResourceProvider* platformResourceProvider() noexcept {
    static EmbeddedResourceProvider embedded(editorBitmaps());
    return &embedded;
}

}  // namespace MX::toolkit
