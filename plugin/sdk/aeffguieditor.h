// Editor base bound to the GUI toolkit: owns the rectangle reported to the
// host, gives the toolkit's frame its idle time, and answers the
// toolkit's requests (modal idle work, knob mode, edit gestures) as its
// VSTGUIEditorInterface. UI thread.
#pragma once

#include <cstdint>

#include "plugin/sdk/aeffeditor.h"
#include "toolkit/editor_frame.h"
#include "toolkit/editor_interface.h"

class AEffGUIEditor : public AEffEditor, public MX::toolkit::VSTGUIEditorInterface {
public:
    // Registers with the effect as its editor and initialises COM for the thread.
    explicit AEffGUIEditor(AudioEffect* effect) noexcept;
    ~AEffGUIEditor() override;

    // Called by the effect on every parameter change; the window catches up on idle.
    virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}

    bool getRect(ERect** place) override;
    // Lets the frame redraw, except while the modal idle work is handing time to the host.
    void idle() override;
    // The knob mode is shared by every editor of the process.
    bool setKnobMode(VstInt32 mode) override;

    // Requests from the toolkit.
    // Idle work for the toolkit's own modal loops: editor idle, pending paint,
    // then idle time for the host, at most about every 100 ms.
    void doIdleStuff() override;
    VstInt32 getKnobMode() const override;
    void beginEdit(VstInt32 index) override;
    void endEdit(VstInt32 index) override;

protected:
    MX::toolkit::EditorFrame* frame = nullptr;  // owned by the editor while the window is open
    ERect rect{};

private:
    std::uint32_t lastIdleTime;
    bool inIdle = false;
};
