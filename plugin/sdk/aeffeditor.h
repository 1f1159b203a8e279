// Base of an effect's editor as the host drives it: the window rectangle, open
// and close with the host's parent window, idle time and key events. UI thread.
#pragma once

#include "plugin/vst/aeffect.h"

class AudioEffect;

class AEffEditor {
public:
    explicit AEffEditor(AudioEffect* effect) noexcept : effect(effect), systemWindow(nullptr) {}
    virtual ~AEffEditor() = default;

    AEffEditor(const AEffEditor&) = delete;
    AEffEditor& operator=(const AEffEditor&) = delete;

    virtual AudioEffect* getEffect() { return effect; }
    // Stores the address of the editor's rectangle in `place`.
    virtual bool getRect(ERect** /*place*/) { return false; }
    // `parentWindow` is the host's native window handle.
    virtual bool open(void* parentWindow) {
        systemWindow = parentWindow;
        return false;
    }
    virtual void close() { systemWindow = nullptr; }
    virtual bool isOpen() { return systemWindow != nullptr; }
    virtual void idle() {}
    virtual bool onKeyDown(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onKeyUp(VstKeyCode& /*keyCode*/) { return false; }
    virtual bool onWheel(float /*distance*/) { return false; }
    virtual bool setKnobMode(VstInt32 /*mode*/) { return false; }
    // The host's display scale for the window (1 = 100 %); true when taken.
    virtual bool setContentScaleFactor(float /*scale*/) { return false; }

protected:
    AudioEffect* effect;
    void* systemWindow;
};
