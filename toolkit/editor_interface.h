// What the toolkit asks of the plug-in's editor. The frame passes the edit
// gestures of its controls on to it. The editor base (AEffGUIEditor) answers
// these; its own frame pointer (a toolkit::EditorFrame, which CFrame
// implements) is the editor's, so this interface carries none. UI thread.
#pragma once

#include <cstdint>

namespace MX::toolkit {

class VSTGUIEditorInterface {
public:
    // Idle work for the toolkit's own modal loops.
    virtual void doIdleStuff() {}
    virtual std::int32_t getKnobMode() const { return 0; }
    // The user starts / ends changing the parameter `index` (a control's tag).
    virtual void beginEdit(std::int32_t index) { (void)index; }
    virtual void endEdit(std::int32_t index) { (void)index; }
    // The frame's window has moved to a display of `scale` (before rounding).
    virtual void displayScaleChanged(double scale) { (void)scale; }

protected:
    VSTGUIEditorInterface() = default;
    virtual ~VSTGUIEditorInterface() = default;
};

}  // namespace MX::toolkit
