// Base of every effect: owns the interface record handed to the host, turns the
// record's six entry functions into virtual operations, and answers the
// dispatcher opcodes 0 to 24.
// Each operation runs on the thread the host calls it from: mostly the UI thread, process
// calls and often setParameter on the audio thread.
#pragma once

#include <cstdint>

#include "plugin/vst/aeffect.h"

class AEffEditor;

class AudioEffect {
public:
    AudioEffect(audioMasterCallback audioMaster, VstInt32 numPrograms, VstInt32 numParams) noexcept;
    virtual ~AudioEffect();

    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    // Opcodes 0 to 24; 0 for every other opcode. UI thread.
    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt);

    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}
    virtual void setSampleRate(float newRate) { sampleRate = newRate; }
    virtual void setBlockSize(VstInt32 newSize) { blockSize = newSize; }

    // Audio thread.
    virtual void process(float** /*inputs*/, float** /*outputs*/, VstInt32 /*sampleFrames*/) {}
    virtual void processReplacing(float** /*inputs*/, float** /*outputs*/, VstInt32 /*sampleFrames*/) {}
    virtual void processDoubleReplacing(double** /*inputs*/, double** /*outputs*/,
                                        VstInt32 /*sampleFrames*/) {}

    // Audio or UI thread.
    virtual void setParameter(VstInt32 /*index*/, float /*value*/) {}
    virtual float getParameter(VstInt32 /*index*/) { return 0.0f; }
    // Sets the parameter, then reports the value to the host as automation.
    virtual void setParameterAutomated(VstInt32 index, float value);

    virtual VstInt32 getProgram() { return curProgram; }
    virtual void setProgram(VstInt32 program) { curProgram = program; }
    // Program names are fixed unless an effect says otherwise.
    virtual void setProgramName(char* /*name*/) {}
    // Text operations write nothing by default; effects override what they name.
    virtual void getProgramName(char* /*name*/) {}
    virtual void getParameterLabel(VstInt32 /*index*/, char* /*label*/) {}
    virtual void getParameterDisplay(VstInt32 /*index*/, char* /*text*/) {}
    virtual void getParameterName(VstInt32 /*index*/, char* /*text*/) {}
    virtual float getVu() { return 0.0f; }
    // No chunks: the host saves the program and the parameters.
    virtual VstInt32 getChunk(void** /*data*/, bool /*isPreset*/) { return 0; }
    virtual VstInt32 setChunk(void* /*data*/, VstInt32 /*byteSize*/, bool /*isPreset*/) { return 0; }

    void setUniqueID(VstInt32 id) noexcept { cEffect.uniqueID = id; }
    void setNumInputs(VstInt32 inputs) noexcept { cEffect.numInputs = inputs; }
    void setNumOutputs(VstInt32 outputs) noexcept { cEffect.numOutputs = outputs; }

    // Flag setters: true sets the bit, false clears it.
    void hasVu(bool state = true) noexcept { setFlag(effFlagsHasVu, state); }
    void canMono(bool state = true) noexcept { setFlag(effFlagsCanMono, state); }
    void canProcessReplacing(bool state = true) noexcept { setFlag(effFlagsCanReplacing, state); }
    // Stores the editor (owned from now on) and sets or clears effFlagsHasEditor.
    void setEditor(AEffEditor* newEditor) noexcept;

    AEffect* getAeffect() noexcept { return &cEffect; }
    AEffEditor* getEditor() const noexcept { return editor; }

    // Host services; each is skipped, answering 0 or false, without a callback.
    // The version query runs before an effect exists, hence static.
    static VstIntPtr hostVersion(audioMasterCallback audioMaster) noexcept;
    void masterIdle();
    bool beginEdit(VstInt32 index);
    bool endEdit(VstInt32 index);

protected:
    audioMasterCallback audioMaster;
    AEffEditor* editor;
    float sampleRate;
    VstInt32 blockSize;
    VstInt32 numPrograms;
    VstInt32 numParams;
    VstInt32 curProgram;
    AEffect cEffect;

private:
    void setFlag(VstInt32 flag, bool state) noexcept;

    // The record's entries. None lets an exception reach the host.
    static VstIntPtr VSTCALLBACK dispatchEntry(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                               void* ptr, float opt);
    static void VSTCALLBACK processEntry(AEffect* e, float** inputs, float** outputs, VstInt32 sampleFrames);
    static void VSTCALLBACK processReplacingEntry(AEffect* e, float** inputs, float** outputs,
                                                  VstInt32 sampleFrames);
    static void VSTCALLBACK processDoubleReplacingEntry(AEffect* e, double** inputs, double** outputs,
                                                        VstInt32 sampleFrames);
    static void VSTCALLBACK setParameterEntry(AEffect* e, VstInt32 index, float value);
    static float VSTCALLBACK getParameterEntry(AEffect* e, VstInt32 index);
};
