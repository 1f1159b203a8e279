// A minimal VST 2.4 host for the module tests: loads the built plug-in file by
// path, as a DAW does, and reaches it only through `main` and the AEffect
// record. The host callback records every call the plug-in makes.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "plugin/vst/aeffect.h"

namespace druvo_test {

using VstMainFn = AEffect*(VSTCALLBACK*)(audioMasterCallback host);
using ExportFn = std::int32_t(VSTCALLBACK*)();

struct HostCall {
    AEffect* effect;
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    void* ptr;
    float opt;
};

// The host callback handed to `main`. One log per process: the callback has
// no user data of its own.
class HostLog {
public:
    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                          VstIntPtr value, void* ptr, float opt);
    static const std::vector<HostCall>& calls();
    static void clear();
    // What the host answers to audioMasterVersion; 2400 unless a test changes it.
    static void setVersionAnswer(VstIntPtr answer);
};

// The plug-in file, loaded once per process and kept loaded, as a host keeps
// a plug-in library while any of its effects may come back.
class PluginModule {
public:
    static PluginModule& instance();
    MX::platform::ModuleHandle handle() const { return handle_; }
    VstMainFn main() const { return main_; }
    ExportFn connectExport() const;
    ExportFn disconnectExport() const;

private:
    PluginModule();
    MX::platform::ModuleHandle handle_ = nullptr;
    VstMainFn main_ = nullptr;
};

inline constexpr int kChannels = 6;

// Six input and six output channels. Inputs carry a distinct ramp per
// channel; outputs start filled with kUntouched so writes are visible.
class AudioBlock {
public:
    static constexpr float kUntouched = 1234.5f;
    explicit AudioBlock(int frames);
    float** inputs() { return inputPointers_.data(); }
    float** outputs() { return outputPointers_.data(); }
    int frames() const { return frames_; }
    float input(int channel, int frame) const { return in_[channel][frame]; }
    float output(int channel, int frame) const { return out_[channel][frame]; }
    const std::vector<float>& outputChannel(int channel) const { return out_[channel]; }
    const std::vector<float>& inputChannel(int channel) const { return in_[channel]; }
    void resetOutputs(float value = kUntouched);

private:
    int frames_;
    std::vector<float> in_[kChannels];
    std::vector<float> out_[kChannels];
    std::vector<float*> inputPointers_;
    std::vector<float*> outputPointers_;
};

// One effect built through `main`. Closes itself (effClose) unless closed.
class PluginInstance {
public:
    // Null when `main` returns null.
    static std::unique_ptr<PluginInstance> create();
    ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    AEffect* effect() const { return effect_; }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);
    // Runs a text request into a buffer pre-filled with a marker; returns the
    // text and the request's result.
    std::string text(VstInt32 opcode, VstInt32 index = 0, VstIntPtr* result = nullptr);
    void setParameter(float value, VstInt32 index = 0);
    float getParameter(VstInt32 index = 0);
    void selectBus(int selection) { setParameter(static_cast<float>(selection) * 0.0625f); }
    VstIntPtr program() { return dispatch(effGetProgram); }
    void processReplacing(AudioBlock& block) { processReplacing(block, block.frames()); }
    void processReplacing(AudioBlock& block, VstInt32 frames);
    void processAccumulating(AudioBlock& block);
    // effClose; the record must not be used afterwards.
    VstIntPtr close();

private:
    explicit PluginInstance(AEffect* effect) : effect_(effect) {}
    AEffect* effect_;
};

// Marker byte that text buffers start with, to tell "left alone" from "written".
inline constexpr char kTextMarker = '\x7f';
inline constexpr std::size_t kTextBufferSize = 256;

}  // namespace druvo_test
