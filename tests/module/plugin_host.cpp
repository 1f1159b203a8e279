#include "tests/module/plugin_host.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace druvo_test {

PluginModule& PluginModule::instance() {
    static PluginModule module;
    return module;
}

PluginModule::PluginModule() {
    std::string error;
    module_ = druvo_host::PluginModule::load(DRUVO_PLUGIN_PATH, &error);
    if (!module_) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::abort();
    }
}

AudioBlock::AudioBlock(int frames) : frames_(frames) {
    for (int c = 0; c < kChannels; ++c) {
        in_[c].resize(static_cast<std::size_t>(frames));
        for (int k = 0; k < frames; ++k)
            in_[c][k] = 0.1f * static_cast<float>(c + 1) + 0.0001f * static_cast<float>(k);
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

}  // namespace druvo_test
