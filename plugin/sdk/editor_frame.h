// What the editor base needs from the GUI toolkit's frame (the window inside
// the host's parent): its idle time and the host's key events. The toolkit's
// frame implements it; the editor base never knows more of the toolkit.
#pragma once

#include "plugin/vst/aeffect.h"

class EditorFrame {
public:
    virtual ~EditorFrame() = default;
    // Redraws the views marked dirty.
    virtual void idle() = 0;
    // Greater than 0 when the frame used the key.
    virtual VstInt32 onKeyDown(VstKeyCode& keyCode) = 0;
    virtual VstInt32 onKeyUp(VstKeyCode& keyCode) = 0;
};
