// What the effect fuzzers share: the in-process instrument (sixteen records
// and a directory that the fuzz input may rewrite, installed through the link
// layer's test seam), the recording host, and host audio buffers with a guard
// zone after each block. One thread: libFuzzer's.
#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "link/bus_directory.h"
#include "plugin/druvo.h"
#include "tests/plugin/fake_host.h"
#include "tests/support/fake_sibling.h"

namespace fuzz_session {

inline std::unique_ptr<MoltraxBusRecord> ownedRecords[MOLTRAX_BUS_COUNT];
inline MoltraxBusDirectory ownedDirectory;

// Any float, NaN and infinities included.
inline float consumeFloat(FuzzedDataProvider& in) {
    return std::bit_cast<float>(in.ConsumeIntegral<std::uint32_t>());
}

// One control field of one record, or a directory entry's channel count,
// rewritten as the instrument may do between any two calls.
inline void rewriteSiblingByte(FuzzedDataProvider& in) {
    MoltraxBusRecord& r = *ownedRecords[in.ConsumeIntegralInRange(0, MOLTRAX_BUS_COUNT - 1)];
    switch (in.ConsumeIntegralInRange(0, 8)) {
        case 0:
            r.validFrames = in.ConsumeIntegral<std::int32_t>();
            break;
        case 1:
            r.maxChannels = in.ConsumeIntegral<std::uint8_t>();
            break;
        case 2:
            r.requestedChannels = in.ConsumeIntegral<std::uint8_t>();
            break;
        case 3:
            r.activeChannels = in.ConsumeIntegral<std::uint8_t>();
            break;
        case 4:
            r.owner = in.ConsumeIntegral<std::uint8_t>();
            break;
        case 5:
            r.ready = in.ConsumeIntegral<std::uint8_t>();
            break;
        case 6:
            r.refCount = in.ConsumeIntegral<std::uint8_t>();
            break;
        case 7:
            r.enabled = in.ConsumeIntegral<std::uint8_t>();
            break;
        default: {
            MoltraxBusNameEntry& e =
                ownedDirectory.entries[in.ConsumeIntegralInRange(0, MOLTRAX_BUS_COUNT - 1)];
            e.channelCount = in.ConsumeIntegral<std::int32_t>();
        }
    }
}

// A host's speaker arrangement: as many speakers as the effect accepts, since
// an arrangement holds numChannels speakers whatever its declared array says.
struct alignas(VstSpeakerArrangement) ArrangementBuffer {
    unsigned char bytes[offsetof(VstSpeakerArrangement, speakers) +
                        sizeof(VstSpeakerProperties) * AudioEffectX::kMaxArrangementChannels];
    VstSpeakerArrangement* get() { return reinterpret_cast<VstSpeakerArrangement*>(bytes); }
};

// Once per process: the records and the error box (the fuzzer's file name is
// not the plug-in's, so every effect would report it).
inline void setUpProcess() {
    for (auto& record : ownedRecords) record = fake::makeRecord();
    MX::platform::setErrorBoxHandler([](const char*, const char*, unsigned) {});
}

// Before each input: default directory, every bus free, enabled and six
// channels wide, the instrument connected with `render`.
inline void resetSibling(MoltraxRenderFn render) {
    MX::link::fillDefaultDirectory(ownedDirectory);
    for (int b = 0; b < MOLTRAX_BUS_COUNT; ++b) {
        MoltraxBusRecord& r = *ownedRecords[b];
        r.entry = &ownedDirectory.entries[b];
        r.validFrames = 0;
        r.maxChannels = MOLTRAX_BUS_CHANNELS;
        r.requestedChannels = r.activeChannels = r.owner = r.ready = r.refCount = 0;
        r.enabled = 1;
        fake::records[b] = &r;
    }
    fake::directory = &ownedDirectory;
    fake_host::reset();
    fake::install(fake::getBusRecord, render, fake::getDirectory);
}

// Host buffers for blocks of up to kMaxFrames frames on up to kMaxChannels
// channels. Outputs after the block's end hold a guard value the effect must
// leave alone.
class HostAudio {
public:
    static constexpr int kMaxChannels = 16;
    static constexpr int kMaxFrames = MOLTRAX_BUS_FRAMES + 1024;  // longer than a bus buffer
    static constexpr int kGuardFrames = 8;
    static constexpr float kGuard = 7777.0f;

    HostAudio() {
        for (int c = 0; c < kMaxChannels; ++c) {
            inputs_[c] = samples_.get() + c * kStride;
            outputs_[c] = samples_.get() + (kMaxChannels + c) * kStride;
            for (int k = 0; k < kMaxFrames; ++k) inputs_[c][k] = 0.001f * static_cast<float>(k % 97);
        }
    }

    // One block through the effect's replacing or accumulating entry, with as
    // many channel pointers as the effect asks for; aborts on a write past the block.
    void run(AEffect* effect, int frames, bool replacing) {
        if (effect->numInputs > kMaxChannels || effect->numOutputs > kMaxChannels) std::abort();
        const int length = frames < 0 ? 0 : frames;
        for (int c = 0; c < kMaxChannels; ++c)
            for (int k = length; k < length + kGuardFrames; ++k) outputs_[c][k] = kGuard;
        if (replacing)
            effect->processReplacing(effect, inputs_, outputs_, frames);
        else
            effect->process(effect, inputs_, outputs_, frames);
        for (int c = 0; c < kMaxChannels; ++c)
            for (int k = length; k < length + kGuardFrames; ++k)
                if (outputs_[c][k] != kGuard) std::abort();
    }

    const float* input(int channel) const { return inputs_[channel]; }
    const float* output(int channel) const { return outputs_[channel]; }

private:
    static constexpr int kStride = kMaxFrames + kGuardFrames;
    std::unique_ptr<float[]> samples_{new float[2 * kMaxChannels * kStride]()};
    float* inputs_[kMaxChannels];
    float* outputs_[kMaxChannels];
};

}  // namespace fuzz_session
