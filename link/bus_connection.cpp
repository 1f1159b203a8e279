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
    // While the module is away a held record is neither read nor dropped: its
    // pointer is never used again (its generation has ended), and its bus tells
    // where a mark of ours may remain once the module is back.
    if (!siblingLoaded()) {
        setState(ConnectionState::kNoRecord);
        return nullptr;
    }
    if (connectionState() == ConnectionState::kNoRecord) setState(ConnectionState::kNotDelivering);

    const std::int32_t busIndex = selection >= 1 && selection <= kMaxBusSelection ? selection - 1 : -1;
    settleStaleClaim(busIndex);
    if (claimed_.load(std::memory_order_acquire) == nullptr && busIndex >= 0) {
        claim(busIndex, channelConfigurationFor(outputChannels),
              releasing_.load(std::memory_order_acquire) == 0);
    }

    MoltraxBusRecord* const record = claimed_.load(std::memory_order_acquire);
    if (record == nullptr || !claimFromLoadedModule() || !ownsRecord(*record, instanceNumber_))
        return nullptr;

    const bool allChannels = loadRelaxed(record->activeChannels) == loadRelaxed(record->maxChannels);
    setState(allChannels ? ConnectionState::kAllChannels : ConnectionState::kSomeChannels);

    if (loadRelaxed(record->ready) == 0) {
        const MoltraxRenderFn render = render_.load(std::memory_order_acquire);
        if (render != nullptr) render(frames);
        if (loadRelaxed(record->ready) == 0) return nullptr;
    }
    return record;
}

void BusConnection::claim(std::int32_t busIndex, std::int32_t requestedChannels,
                          bool retakeOwnMark) noexcept {
    const std::uint32_t generation = siblingGeneration();
    const MoltraxGetBusRecordFn lookup = busRecordLookup();
    MoltraxBusRecord* const record = lookup != nullptr ? lookup(busIndex) : nullptr;
    if (record == nullptr) {
        setState(ConnectionState::kNoRecord);
        return;
    }
    // The module went away (and maybe came back) during the lookup: the record
    // may already be gone, and is not touched.
    if (siblingGeneration() != generation) return;
    // Instance numbers are unique among live effects, so a mark of ours is a
    // claim of ours that a reconnect made us forget: taken back, counted once.
    if (!claimRecord(*record, instanceNumber_, requestedChannels, retakeOwnMark)) {
        setState(ConnectionState::kNotDelivering);
        return;
    }
    claimGeneration_.store(generation, std::memory_order_relaxed);
    claimBus_.store(busIndex, std::memory_order_relaxed);
    render_.store(renderRequest(), std::memory_order_release);
    claimed_.store(record, std::memory_order_release);
}

bool BusConnection::claimFromLoadedModule() const noexcept {
    return siblingLoaded() && claimGeneration_.load(std::memory_order_relaxed) == siblingGeneration();
}

bool BusConnection::dropClaim(MoltraxBusRecord* held) noexcept {
    if (!claimed_.compare_exchange_strong(held, nullptr, std::memory_order_acq_rel)) return false;
    render_.store(nullptr, std::memory_order_release);
    return true;
}

void BusConnection::settleStaleClaim(std::int32_t selectedBus) noexcept {
    MoltraxBusRecord* const held = claimed_.load(std::memory_order_acquire);
    if (held == nullptr || claimFromLoadedModule() || !dropClaim(held)) return;
    // On the selected bus the claim attempt that follows takes the mark back.
    const std::int32_t bus = claimBus_.load(std::memory_order_relaxed);
    if (bus != selectedBus) releaseStaleMark(bus);
}

void BusConnection::releaseStaleMark(std::int32_t busIndex) noexcept {
    if (busIndex < 0) return;
    const std::uint32_t generation = siblingGeneration();
    const MoltraxGetBusRecordFn lookup = busRecordLookup();
    MoltraxBusRecord* const record = lookup != nullptr ? lookup(busIndex) : nullptr;
    if (record != nullptr && siblingGeneration() == generation) {
        link::releaseAtDestruction(*record, instanceNumber_);
    }
}

void BusConnection::releaseOnSelectionChange() noexcept {
    releasing_.fetch_add(1, std::memory_order_relaxed);
    MoltraxBusRecord* const held = claimed_.load(std::memory_order_acquire);
    if (held != nullptr && claimFromLoadedModule() && dropClaim(held)) link::releaseOnSelectionChange(*held);
    releasing_.fetch_sub(1, std::memory_order_release);
}

void BusConnection::releaseAtDestruction() noexcept {
    MoltraxBusRecord* const held = claimed_.exchange(nullptr, std::memory_order_acq_rel);
    render_.store(nullptr, std::memory_order_release);
    if (held == nullptr || !siblingLoaded()) return;
    if (claimFromLoadedModule()) {
        link::releaseAtDestruction(*held, instanceNumber_);
    } else {
        // The module came back since the claim and no block has taken the mark
        // back: the record it left is asked for anew, never read through `held`.
        releaseStaleMark(claimBus_.load(std::memory_order_relaxed));
    }
}

ConnectionState BusConnection::connectionState() const noexcept {
    return state_.load(std::memory_order_relaxed);
}

MoltraxBusRecord* BusConnection::claimedRecord() const noexcept {
    MoltraxBusRecord* const record = claimed_.load(std::memory_order_acquire);
    return record != nullptr && claimFromLoadedModule() ? record : nullptr;
}

void BusConnection::setState(ConnectionState state) noexcept {
    state_.store(state, std::memory_order_relaxed);
}

}  // namespace MX::link
