// One effect's editor, open on the offscreen backend: drives it as a host
// would (open, idle) and saves what its window shows as a PNG file.
// The tool's thread, as the host's UI thread.
#pragma once

#include <string>

#include "plugin/druvo.h"
#include "toolkit/backend.h"

namespace MX::toolkit {
class CFrame;
class OffscreenSurface;
}  // namespace MX::toolkit

namespace druvo_pictures {

class EditorPicture {
public:
    // Opens `effect`'s editor; the toolkit's default backend must be an OffscreenBackend.
    explicit EditorPicture(MX::Druvo& effect);
    ~EditorPicture();
    EditorPicture(const EditorPicture&) = delete;
    EditorPicture& operator=(const EditorPicture&) = delete;

    // One host idle call: the editor refreshes and redraws what changed.
    void idle();
    bool save(const std::string& path) const;
    // Clicks the bus menu; the backend's pop-up handler then sees the request.
    void clickBusMenu();
    // The window with the pop-up list of `request` open below the bus menu,
    // row `highlighted` lit, over a plain backdrop.
    bool saveWithPopup(const std::string& path, const MX::toolkit::PopupMenuRequest& request,
                       int highlighted) const;

private:
    MX::toolkit::CFrame& frame() const;
    const MX::toolkit::OffscreenSurface& surface() const;

    MX::Druvo& effect_;
};

}  // namespace druvo_pictures
