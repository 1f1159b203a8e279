// What the editor base drives of the toolkit's frame (the window inside the
// host's parent): its idle time. CFrame implements it; the editor base knows
// no more of the toolkit. UI thread.
#pragma once

namespace MX::toolkit {

class EditorFrame {
public:
    virtual ~EditorFrame() = default;
    // Redraws the views marked dirty.
    virtual void idle() = 0;
};

}  // namespace MX::toolkit
