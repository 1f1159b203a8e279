#include "link/bus_connection.h"

#include <algorithm>

#include "link/bus_record_operations.h"
#include "link/channel_configuration.h"
#include "link/live_connections.h"
#include "link/relaxed_field.h"
#include "link/sibling_module.h"
#include "runtime/vector_primitives.h"

namespace MX::link {

namespace {

constexpr std::int32_t kMaxBusSelection = MOLTRAX_BUS_COUNT;

float* channel(float* const* buffers, std::int32_t index) noexcept {
    return buffers != nullptr ? buffers[index] : nullptr;
}

// Outputs below `outputChannels` get their input, or silence where there is
// none, except the first `delivered.frames` samples of the channels the bus
// delivered: each output sample is written once.
void passThrough(float* const* inputs, float* const* outputs, std::int32_t frames, std::int32_t inputChannels,
                 std::int32_t outputChannels, Delivered delivered = {0, 0}) noexcept {
    for (std::int32_t i = 0; i < outputChannels; ++i) {
        float* out = channel(outputs, i);
        if (out == nullptr) continue;
        const std::int32_t start = i < delivered.channels ? delivered.frames : 0;
        const float* in = i < inputChannels ? channel(inputs, i) : nullptr;
        if (in == nullptr) {
            runtime::zeroFloats(out + start, frames - start);
        } else if (in != out) {  // in-place hosts pass the same buffer
            runtime::copyFloats(out + start, in + start, frames - start);
        }
    }
}

}  // namespace

BusConnection::BusConnection() noexcept : inLiveTable_(true), instanceNumber_(takeInstanceNumber(*this)) {}

BusConnection::BusConnection(std::int32_t instanceNumber) noexcept
    : inLiveTable_(false), instanceNumber_(instanceNumber) {}

BusConnection::~BusConnection() {
    if (inLiveTable_) giveBackInstanceNumber(instanceNumber_, *this);
}

void BusConnection::process(float* const* inputs, float* const* outputs, std::int32_t sampleFrames,
                            std::int32_t inputChannels, std::int32_t outputChannels,
                            std::int32_t selection) noexcept {
    const std::int32_t frames = std::max<std::int32_t>(sampleFrames, 0);
    const std::int32_t outputCount = std::clamp<std::int32_t>(outputChannels, 0, MOLTRAX_BUS_CHANNELS);

    MoltraxBusRecord* const record = pull(frames, outputCount, selection);
    // The bus is copied first and the inputs fill what it left, which writes the
    // same samples as a pass-through followed by the copy, at the cost of one.
    const Delivered delivered = record != nullptr ? copyToOutputs(*record, outputs, frames) : Delivered{0, 0};
    passThrough(inputs, outputs, frames, inputChannels, outputCount, delivered);
}

MoltraxBusRecord* BusConnection::pull(std::int32_t frames, std::int32_t outputChannels,
                                      std::int32_t selection) noexcept {
    // While the module is away a held record is neither read nor dropped here:
    // the module's unload releases it first (releaseBeforeUnload), before its
    // memory may go.
    if (!siblingLoaded()) {
        setState(ConnectionState::kNoRecord);
        return nullptr;
    }
    // A record from an earlier load that no unload released (claimed while the
    // unload ran) may be gone with that load: forgotten, never touched.
    if (claimed_.load(std::memory_order_relaxed) != nullptr && !claimFromLoadedModule()) {
        takeClaim();
    }
    if (connectionState() == ConnectionState::kNoRecord) setState(ConnectionState::kNotDelivering);

    if (claimed_.load(std::memory_order_acquire) == nullptr && selection >= 1 &&
        selection <= kMaxBusSelection) {
        claim(selection - 1, channelConfigurationFor(outputChannels));
    }

    MoltraxBusRecord* const record = claimed_.load(std::memory_order_acquire);
    if (record == nullptr || !ownsRecord(*record, instanceNumber_)) return nullptr;

    const bool allChannels = loadRelaxed(record->activeChannels) == loadRelaxed(record->maxChannels);
    setState(allChannels ? ConnectionState::kAllChannels : ConnectionState::kSomeChannels);

    if (loadRelaxed(record->ready) == 0) {
        const MoltraxRenderFn render = render_.load(std::memory_order_acquire);
        if (render != nullptr) render(frames);
        if (loadRelaxed(record->ready) == 0) return nullptr;
    }
    return record;
}

void BusConnection::claim(std::int32_t busIndex, std::int32_t requestedChannels) noexcept {
    const std::uint32_t generation = siblingGeneration();
    const MoltraxGetBusRecordFn lookup = busRecordLookup();
    MoltraxBusRecord* const record = lookup != nullptr ? lookup(busIndex) : nullptr;
    if (record == nullptr) {
        setState(ConnectionState::kNoRecord);
        return;
    }
    if (!claimRecord(*record, instanceNumber_, requestedChannels)) {
        setState(ConnectionState::kNotDelivering);
        return;
    }
    claimGeneration_.store(generation, std::memory_order_relaxed);
    render_.store(renderRequest(), std::memory_order_release);
    claimed_.store(record, std::memory_order_release);
}

bool BusConnection::claimFromLoadedModule() const noexcept {
    return siblingLoaded() && claimGeneration_.load(std::memory_order_relaxed) == siblingGeneration();
}

MoltraxBusRecord* BusConnection::takeClaim() noexcept {
    MoltraxBusRecord* const record = claimed_.exchange(nullptr, std::memory_order_acq_rel);
    render_.store(nullptr, std::memory_order_release);
    return record != nullptr && claimFromLoadedModule() ? record : nullptr;
}

void BusConnection::releaseOnSelectionChange() noexcept {
    if (MoltraxBusRecord* const record = takeClaim()) link::releaseOnSelectionChange(*record);
}

void BusConnection::releaseAtDestruction() noexcept {
    if (MoltraxBusRecord* const record = takeClaim()) {
        link::releaseAtDestruction(*record, instanceNumber_);
    }
}

void BusConnection::releaseBeforeUnload(std::uint32_t generation) noexcept {
    MoltraxBusRecord* const record = claimed_.exchange(nullptr, std::memory_order_acq_rel);
    render_.store(nullptr, std::memory_order_release);
    if (record != nullptr && claimGeneration_.load(std::memory_order_relaxed) == generation) {
        link::releaseAtDestruction(*record, instanceNumber_);
    }
}

ConnectionState BusConnection::connectionState() const noexcept {
    return state_.load(std::memory_order_relaxed);
}

MoltraxBusRecord* BusConnection::claimedRecord() const noexcept {
    return claimed_.load(std::memory_order_acquire);
}

void BusConnection::setState(ConnectionState state) noexcept {
    state_.store(state, std::memory_order_relaxed);
}

}  // namespace MX::link
