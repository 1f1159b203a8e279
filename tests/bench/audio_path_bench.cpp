// The cost of one block through the loaded plug-in's processReplacing, each
// beside the bare memcpy of the same output bytes in the same run.
//
// Delivering: the stand-in's render request does nothing (render mode 0);
// before each block the benchmark marks the bus block fresh (two stores: what
// the instrument does once per host block), so the time is the plug-in's own
// work (pass-through, ownership check, bus copy) and not tone generation.
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>
#include <memory>
#include <vector>

#include "tests/bench/bench_session.h"

namespace druvo_bench {
namespace {

constexpr int kBuses = MOLTRAX_BUS_COUNT;

void setBytes(benchmark::State& state, long channels, long frames) {
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * channels * frames *
                            static_cast<std::int64_t>(sizeof(float)));
}

void copyChannels(ChannelBuffers& buffers, int channels, int frames) {
    for (int c = 0; c < channels; ++c)
        std::memcpy(buffers.outputs()[c], buffers.inputs()[c],
                    static_cast<std::size_t>(frames) * sizeof(float));
}

void BM_Memcpy(benchmark::State& state) {
    const int channels = static_cast<int>(state.range(0));
    const int frames = static_cast<int>(state.range(1));
    ChannelBuffers buffers(frames);
    for (auto _ : state) {
        copyChannels(buffers, channels, frames);
        benchmark::ClobberMemory();
    }
    setBytes(state, channels, frames);
}

// The bare copy of the bytes a delivery moves: the bus block, straight from
// the instrument's record to the outputs.
void BM_MemcpyFromBus(benchmark::State& state) {
    const int channels = static_cast<int>(state.range(0));
    const int frames = static_cast<int>(state.range(1));
    modules().standin.reset();
    MoltraxBusRecord& bus = modules().standin.record(0);
    ChannelBuffers buffers(frames);
    for (auto _ : state) {
        for (int c = 0; c < channels; ++c)
            std::memcpy(buffers.outputs()[c], bus.buffers[c],
                        static_cast<std::size_t>(frames) * sizeof(float));
        benchmark::ClobberMemory();
    }
    setBytes(state, channels, frames);
}

// One block through the plug-in: pass-through with no bus selected (`bus`
// 0), or the waiting block of `bus` delivered.
void BM_Plugin(benchmark::State& state, int bus) {
    const int channels = static_cast<int>(state.range(0));
    const int frames = static_cast<int>(state.range(1));
    modules().standin.reset();
    ChannelBuffers buffers(frames);
    auto effect = makeEffect(channels, bus, frames, buffers);
    for (auto _ : state) {
        if (bus != 0) markBusReady(bus, frames);
        effect->processReplacing(buffers.inputs(), buffers.outputs(), frames);
        benchmark::ClobberMemory();
    }
    if (bus != 0 && modules().standin.record(bus - 1).ready != 0)
        state.SkipWithError("the bus was not delivered");
    setBytes(state, channels, frames);
}

// A session of sixteen 5.1 channels, one per bus: one host cycle per iteration.
void BM_SixteenInstancesMemcpy(benchmark::State& state) {
    const int frames = static_cast<int>(state.range(0));
    std::vector<std::unique_ptr<ChannelBuffers>> buffers;
    for (int i = 0; i < kBuses; ++i) buffers.push_back(std::make_unique<ChannelBuffers>(frames));
    for (auto _ : state) {
        for (auto& each : buffers) copyChannels(*each, kPins, frames);
        benchmark::ClobberMemory();
    }
    setBytes(state, kBuses * kPins, frames);
}

void BM_SixteenInstancesDeliver(benchmark::State& state) {
    const int frames = static_cast<int>(state.range(0));
    modules().standin.reset();
    std::vector<std::unique_ptr<ChannelBuffers>> buffers;
    std::vector<std::unique_ptr<druvo_host::PluginInstance>> effects;
    for (int i = 0; i < kBuses; ++i) {
        buffers.push_back(std::make_unique<ChannelBuffers>(frames));
        effects.push_back(makeEffect(kPins, i + 1, frames, *buffers.back()));
    }
    for (auto _ : state) {
        for (int i = 0; i < kBuses; ++i) {
            markBusReady(i + 1, frames);
            effects[i]->processReplacing(buffers[i]->inputs(), buffers[i]->outputs(), frames);
        }
        benchmark::ClobberMemory();
    }
    for (int i = 0; i < kBuses; ++i) {
        if (modules().standin.record(i).ready != 0) state.SkipWithError("a bus was not delivered");
    }
    setBytes(state, kBuses * kPins, frames);
}

void channelsAndFrames(benchmark::internal::Benchmark* bench) {
    bench->ArgNames({"ch", "frames"})->ArgsProduct({{1, 2, 6}, {32, 512, 4096}});
}

BENCHMARK(BM_Memcpy)->Apply(channelsAndFrames);
BENCHMARK(BM_MemcpyFromBus)->Apply(channelsAndFrames);
BENCHMARK_CAPTURE(BM_Plugin, PassThrough, 0)->Apply(channelsAndFrames);
BENCHMARK_CAPTURE(BM_Plugin, Deliver, 1)->Apply(channelsAndFrames);
BENCHMARK(BM_SixteenInstancesMemcpy)->ArgName("frames")->Arg(32)->Arg(512)->Arg(4096);
BENCHMARK(BM_SixteenInstancesDeliver)->ArgName("frames")->Arg(32)->Arg(512)->Arg(4096);

}  // namespace
}  // namespace druvo_bench

BENCHMARK_MAIN();
