// One effect's link to an instrument bus: the claimed record, the render
// request and the connection state, and the per-block bus pull. process() runs
// on the audio thread; the release functions run where the selection changes
// or the effect is destroyed.
#pragma once

#include <atomic>
#include <cstdint>

#include "link/bus_records.h"
#include "plugin/vst/aeffect.h"

namespace MX::link {

class BusConnection {
public:
    explicit BusConnection(std::int32_t instanceNumber) noexcept;

    // One audio block: pass-through, claim, render request and delivery.
    // `selection` is the bus selection (0 = off, 1..16); any other value is
    // treated as off.
    void process(float* const* inputs, float* const* outputs, std::int32_t sampleFrames,
                 const VstSpeakerArrangement* inputArrangement,
                 const VstSpeakerArrangement* outputArrangement,
                 std::int32_t selection) noexcept;

    void releaseOnSelectionChange() noexcept;
    void releaseAtDestruction() noexcept;

    std::int32_t connectionState() const noexcept;  // 0..3
    std::int32_t instanceNumber() const noexcept { return instanceNumber_; }
    MoltraxBusRecord* claimedRecord() const noexcept;

private:
    const std::int32_t instanceNumber_;
    std::atomic<MoltraxBusRecord*> claimed_{nullptr};
    std::atomic<MoltraxRenderFn> render_{nullptr};
    std::atomic<std::int32_t> state_{0};
};

}  // namespace MX::link
