#include "tests/module/plugin_host.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace druvo_test {

namespace {
std::vector<HostCall> gCalls;
VstIntPtr gVersionAnswer = 2400;
}  // namespace

VstIntPtr VSTCALLBACK HostLog::callback(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                        VstIntPtr value, void* ptr, float opt) {
    gCalls.push_back({effect, opcode, index, value, ptr, opt});
    return opcode == audioMasterVersion ? gVersionAnswer : 0;
}

const std::vector<HostCall>& HostLog::calls() { return gCalls; }
void HostLog::clear() { gCalls.clear(); }
void HostLog::setVersionAnswer(VstIntPtr answer) { gVersionAnswer = answer; }

PluginModule& PluginModule::instance() {
    static PluginModule module;
    return module;
}

PluginModule::PluginModule() {
    handle_ = MX::platform::loadModule(DRUVO_PLUGIN_PATH);
    if (handle_ == nullptr) {
        std::fprintf(stderr, "cannot load the plug-in %s\n", DRUVO_PLUGIN_PATH);
        std::abort();
    }
    main_ = reinterpret_cast<VstMainFn>(MX::platform::findEntry(handle_, "main"));
    if (main_ == nullptr) {
        std::fprintf(stderr, "the plug-in %s exports no main\n", DRUVO_PLUGIN_PATH);
        std::abort();
    }
}

ExportFn PluginModule::connectExport() const {
    return reinterpret_cast<ExportFn>(MX::platform::findEntry(handle_, "MoltraxConnect"));
}

ExportFn PluginModule::disconnectExport() const {
    return reinterpret_cast<ExportFn>(MX::platform::findEntry(handle_, "MoltraxDisconnect"));
}

AudioBlock::AudioBlock(int frames) : frames_(frames) {
    for (int c = 0; c < kChannels; ++c) {
        in_[c].resize(static_cast<std::size_t>(frames));
        for (int k = 0; k < frames; ++k) in_[c][k] = 0.1f * static_cast<float>(c + 1) + 0.0001f * static_cast<float>(k);
        inputPointers_.push_back(in_[c].data());
    }
    resetOutputs();
    for (int c = 0; c < kChannels; ++c) outputPointers_.push_back(out_[c].data());
}

void AudioBlock::resetOutputs(float value) {
    for (auto& channel : out_) channel.assign(static_cast<std::size_t>(frames_), value);
}

std::unique_ptr<PluginInstance> PluginInstance::create() {
    AEffect* effect = PluginModule::instance().main()(&HostLog::callback);
    if (effect == nullptr) return nullptr;
    return std::unique_ptr<PluginInstance>(new PluginInstance(effect));
}

PluginInstance::~PluginInstance() {
    if (effect_ != nullptr) close();
}

VstIntPtr PluginInstance::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string PluginInstance::text(VstInt32 opcode, VstInt32 index, VstIntPtr* result) {
    char buffer[kTextBufferSize];
    std::memset(buffer, kTextMarker, sizeof buffer);
    const VstIntPtr answer = dispatch(opcode, index, 0, buffer);
    if (result != nullptr) *result = answer;
    const void* end = std::memchr(buffer, '\0', sizeof buffer);
    const std::size_t length = end ? static_cast<std::size_t>(static_cast<const char*>(end) - buffer) : sizeof buffer;
    return std::string(buffer, length);
}

void PluginInstance::setParameter(float value, VstInt32 index) { effect_->setParameter(effect_, index, value); }
float PluginInstance::getParameter(VstInt32 index) { return effect_->getParameter(effect_, index); }

void PluginInstance::processReplacing(AudioBlock& block, VstInt32 frames) {
    effect_->processReplacing(effect_, block.inputs(), block.outputs(), frames);
}

void PluginInstance::processAccumulating(AudioBlock& block) {
    effect_->process(effect_, block.inputs(), block.outputs(), block.frames());
}

VstIntPtr PluginInstance::close() {
    const VstIntPtr result = dispatch(effClose);
    effect_ = nullptr;
    return result;
}

}  // namespace druvo_test
