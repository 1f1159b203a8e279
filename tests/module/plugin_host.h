// The module tests' host: the shared test host (tools/host) bound to the
// plug-in built beside the tests, and a six-channel audio block.
// The test's thread, as both the host's UI and audio thread.
#pragma once

#include <memory>
#include <vector>

#include "tools/host/plugin_host.h"

namespace druvo_test {

using druvo_host::ExportFn;
using druvo_host::HostCall;
using druvo_host::HostLog;
using druvo_host::kTextBufferSize;
using druvo_host::kTextMarker;
using druvo_host::VstMainFn;

// The plug-in file, loaded once per process and kept loaded, as a host keeps
// a plug-in library while any of its effects may come back.
class PluginModule {
public:
    static PluginModule& instance();
    MX::platform::ModuleHandle handle() const { return module_->handle(); }
    VstMainFn main() const { return module_->main(); }
    ExportFn connectExport() const { return reinterpret_cast<ExportFn>(module_->entry("MoltraxConnect")); }
    ExportFn disconnectExport() const {
        return reinterpret_cast<ExportFn>(module_->entry("MoltraxDisconnect"));
    }

private:
    PluginModule();
    std::unique_ptr<druvo_host::PluginModule> module_;
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

// One effect of the plug-in under test, built with the logging host callback.
class PluginInstance : public druvo_host::PluginInstance {
public:
    // Null when `main` returns null.
    static std::unique_ptr<PluginInstance> create();

    using druvo_host::PluginInstance::processReplacing;
    void processReplacing(AudioBlock& block) { processReplacing(block, block.frames()); }
    void processReplacing(AudioBlock& block, VstInt32 frames) {
        processReplacing(block.inputs(), block.outputs(), frames);
    }
    void processAccumulating(AudioBlock& block) { process(block.inputs(), block.outputs(), block.frames()); }

private:
    explicit PluginInstance(AEffect* effect) : druvo_host::PluginInstance(effect) {}
};

}  // namespace druvo_test
