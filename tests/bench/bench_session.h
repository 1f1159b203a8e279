// The plug-in and the stand-in instrument, loaded once for every benchmark,
// and the buffers a host hands to one effect.
// The benchmark's thread.
#pragma once

#include <memory>
#include <vector>

#include "tools/host/plugin_host.h"
#include "tools/host/standin_module.h"

namespace druvo_bench {

inline constexpr int kPins = 6;

struct BenchModules {
    druvo_host::StandinModule& standin;
    druvo_host::PluginModule& plugin;
};

// Aborts when either file does not load: no benchmark would mean anything.
BenchModules modules();

// Six input and six output channels of `frames` samples; inputs hold a ramp.
// Every channel starts on a 64-byte boundary and the layout depends only on
// `frames`, so the plug-in and the memcpy baseline copy between buffers placed
// alike: the C library's copy speed depends on the relative alignment.
class ChannelBuffers {
public:
    explicit ChannelBuffers(int frames);
    float** inputs() { return inputPointers_; }
    float** outputs() { return outputPointers_; }

private:
    std::vector<float> storage_;
    float* inputPointers_[kPins];
    float* outputPointers_[kPins];
};

// An effect with `channels` input and output channels, bus `selection`
// (0 = off), already past its first block so a selected bus is claimed.
// The stand-in's bus holds a full buffer of samples.
std::unique_ptr<druvo_host::PluginInstance> makeEffect(int channels, int selection, int frames,
                                                       ChannelBuffers& buffers);

// Marks the effect's bus block as fresh, as the instrument does once per
// host block, so the next block copies it without asking for a render.
void markBusReady(int selection, int frames);

}  // namespace druvo_bench
