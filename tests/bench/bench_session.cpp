#include "tests/bench/bench_session.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/host/built_files.h"

namespace druvo_bench {

namespace {

VstIntPtr VSTCALLBACK benchHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

template <class Module>
Module& loadOrDie(std::unique_ptr<Module> module, const std::string& error) {
    if (!module) {
        std::fprintf(stderr, "druvo_bench: %s\n", error.c_str());
        std::abort();
    }
    return *module.release();  // kept for the whole run, as a host keeps them
}

}  // namespace

BenchModules modules() {
    static BenchModules loaded = [] {
        std::string error;
        // The instrument first: the plug-in's own load by name then finds it.
        auto& standin =
            loadOrDie(druvo_host::StandinModule::load(druvo_host::builtStandinPath(), &error), error);
        auto& plugin =
            loadOrDie(druvo_host::PluginModule::load(druvo_host::builtPluginPath(), &error), error);
        return BenchModules{standin, plugin};
    }();
    return loaded;
}

ChannelBuffers::ChannelBuffers(int frames) {
    constexpr std::size_t kAlignFloats = 16;  // 64 bytes
    // A gap of one cache line keeps channels off exact multiples of 4 KiB apart.
    const std::size_t stride =
        (static_cast<std::size_t>(frames) + kAlignFloats - 1) / kAlignFloats * kAlignFloats + kAlignFloats;
    storage_.assign(stride * 2 * kPins + kAlignFloats, 0.0f);
    const auto address = reinterpret_cast<std::uintptr_t>(storage_.data());
    float* base = storage_.data() + ((64 - address % 64) % 64) / sizeof(float);
    for (int c = 0; c < kPins; ++c) {
        inputPointers_[c] = base + stride * static_cast<std::size_t>(c);
        outputPointers_[c] = base + stride * static_cast<std::size_t>(kPins + c);
        for (int k = 0; k < frames; ++k) inputPointers_[c][k] = 0.001f * static_cast<float>(k % 1000) - 0.5f;
    }
}

std::unique_ptr<druvo_host::PluginInstance> makeEffect(int channels, int selection, int frames,
                                                       ChannelBuffers& buffers) {
    BenchModules loaded = modules();
    auto effect = druvo_host::PluginInstance::create(loaded.plugin.main(), &benchHost);
    if (!effect) {
        std::fprintf(stderr, "druvo_bench: the plug-in built no effect\n");
        std::abort();
    }
    effect->prepare(44100.0f, frames);
    effect->setChannels(channels, channels);
    effect->dispatch(effSetProgram, 0, selection);
    effect->processReplacing(buffers.inputs(), buffers.outputs(), frames);  // claims the bus
    if (selection >= 1) {
        MoltraxBusRecord& record = loaded.standin.record(selection - 1);
        for (int c = 0; c < MOLTRAX_BUS_CHANNELS; ++c) {
            for (int k = 0; k < MOLTRAX_BUS_FRAMES; ++k)
                record.buffers[c][k] = 0.25f - 0.00001f * static_cast<float>(k);
        }
    }
    return effect;
}

void markBusReady(int selection, int frames) {
    if (selection < 1) return;
    MoltraxBusRecord& record = modules().standin.record(selection - 1);
    record.validFrames = frames;
    record.ready = 1;
}

}  // namespace druvo_bench
