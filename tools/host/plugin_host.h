// A minimal VST 2.4 host shared by the demo, the module tests, the realtime
// test and the benchmarks: loads a plug-in file by path, as a DAW does, and
// reaches it only through `main` and the AEffect record.
// The host program's thread, as both the host's UI and audio thread.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "plugin/vst/aeffect.h"
#include "tools/host/host_call.h"

namespace druvo_host {

using VstMainFn = AEffect*(VSTCALLBACK*)(audioMasterCallback host);
using ExportFn = std::int32_t(VSTCALLBACK*)();

// The default host callback: answers audioMasterVersion and records every
// call. One log per process: the callback has no user data of its own.
class HostLog {
public:
    static VstIntPtr VSTCALLBACK callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                          void* ptr, float opt);
    static const std::vector<HostCall>& calls();
    static void clear();
    // What the host answers to audioMasterVersion; 2400 unless changed.
    static void setVersionAnswer(VstIntPtr answer);
};

// A plug-in file loaded by path. The file stays loaded while this object
// lives, as a host keeps a plug-in library while any of its effects may come back.
class PluginModule {
public:
    // Null (with a reason in `error`) when the file does not load or exports no `main`.
    static std::unique_ptr<PluginModule> load(const std::string& path, std::string* error = nullptr);
    ~PluginModule();
    PluginModule(const PluginModule&) = delete;
    PluginModule& operator=(const PluginModule&) = delete;

    MX::platform::ModuleHandle handle() const { return handle_; }
    VstMainFn main() const { return main_; }
    void* entry(const char* name) const { return MX::platform::findEntry(handle_, name); }

private:
    PluginModule(MX::platform::ModuleHandle handle, VstMainFn main) : handle_(handle), main_(main) {}
    MX::platform::ModuleHandle handle_;
    VstMainFn main_;
};

// One effect built through `main`. Closes itself (effClose) unless closed.
class PluginInstance {
public:
    // Null when `main` returns null or is null.
    static std::unique_ptr<PluginInstance> create(VstMainFn main,
                                                  audioMasterCallback host = &HostLog::callback);
    virtual ~PluginInstance();
    PluginInstance(const PluginInstance&) = delete;
    PluginInstance& operator=(const PluginInstance&) = delete;

    AEffect* effect() const { return effect_; }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);
    // Runs a text request into a buffer pre-filled with kTextMarker; returns
    // the text up to its NUL (the whole buffer when there is none).
    std::string text(VstInt32 opcode, VstInt32 index = 0, VstIntPtr* result = nullptr);

    // What a host does before playing: sample rate, block size, switch on.
    void prepare(float sampleRate, VstInt32 blockSize);
    // effSetSpeakerArrangement with plain arrangements of these channel counts.
    bool setChannels(VstInt32 inputChannels, VstInt32 outputChannels);
    // effString2Parameter, as a host's text entry field.
    bool enterText(const char* text, VstInt32 index = 0);

    void setParameter(float value, VstInt32 index = 0) { effect_->setParameter(effect_, index, value); }
    float getParameter(VstInt32 index = 0) { return effect_->getParameter(effect_, index); }
    void selectBus(int selection) { setParameter(static_cast<float>(selection) * 0.0625f); }
    VstIntPtr program() { return dispatch(effGetProgram); }
    void processReplacing(float** inputs, float** outputs, VstInt32 frames) {
        effect_->processReplacing(effect_, inputs, outputs, frames);
    }
    void process(float** inputs, float** outputs, VstInt32 frames) {
        effect_->process(effect_, inputs, outputs, frames);
    }
    // effClose; the record must not be used afterwards.
    VstIntPtr close();

protected:
    explicit PluginInstance(AEffect* effect) : effect_(effect) {}

private:
    AEffect* effect_;
};

// A speaker arrangement of `channels` channels (at most 8): stereo for 2,
// 5.1 for 6, the generic type otherwise.
VstSpeakerArrangement makeArrangement(VstInt32 channels);

// Marker byte that text buffers start with, to tell "left alone" from "written".
inline constexpr char kTextMarker = '\x7f';
inline constexpr std::size_t kTextBufferSize = 256;

}  // namespace druvo_host
