#include "link/bus_connection.h"

#include <algorithm>

#include "link/bus_directory.h"
#include "link/channel_configuration.h"
#include "link/live_connections.h"
#include "link/record_access.h"
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
                 std::int32_t outputChannels, Delivered delivered) noexcept {
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

std::int32_t busIndexOf(std::int32_t selection) noexcept {
    return selection >= 1 && selection <= kMaxBusSelection ? selection - 1 : -1;
}

}  // namespace

BusConnection::BusConnection() noexcept : inLiveTable_(true), instanceNumber_(takeInstanceNumber(*this)) {}

BusConnection::BusConnection(std::int32_t instanceNumber) noexcept
    : inLiveTable_(false), instanceNumber_(instanceNumber) {}

BusConnection::~BusConnection() {
    if (inLiveTable_) giveBackInstanceNumber(instanceNumber_, *this);
}

bool BusConnection::select(std::int32_t selection) noexcept {
    if (selection_.exchange(selection) == selection) {
        // Automation repeats a value every cycle: the bus keeps playing.
        release(claimed_.load(), true);
        return false;
    }
    // Sequentially consistent with the claim's store of claimed_ and its
    // second read of the count: either this release sees the claim, or the
    // claim sees the change and gives its bus back.
    selectionChanges_.fetch_add(1);
    release(claimed_.load(), false);
    return true;
}

std::int32_t BusConnection::selection() const noexcept { return selection_.load(std::memory_order_relaxed); }

void BusConnection::process(float* const* inputs, float* const* outputs, std::int32_t sampleFrames,
                            std::int32_t inputChannels, std::int32_t outputChannels) noexcept {
    const std::int32_t frames = std::max<std::int32_t>(sampleFrames, 0);
    const std::int32_t outputCount = std::clamp<std::int32_t>(outputChannels, 0, MOLTRAX_BUS_CHANNELS);
    // The bus is copied first and the inputs fill what it left, which writes the
    // same samples as a pass-through followed by the copy, at the cost of one.
    const Delivered delivered = pull(outputs, frames, outputCount);
    passThrough(inputs, outputs, frames, inputChannels, outputCount, delivered);
}

Delivered BusConnection::pull(float* const* outputs, std::int32_t frames,
                              std::int32_t outputChannels) noexcept {
    // While the module is away a held record is neither read nor dropped: its
    // pointer is never used again (its generation has ended), and its bus tells
    // where a mark of ours may remain once the module is back.
    if (!siblingLoaded()) {
        setState(ConnectionState::kNoRecord);
        return {0, 0};
    }
    if (connectionState() == ConnectionState::kNoRecord) setState(ConnectionState::kNotDelivering);

    // The count first: a change after it makes whatever this block claims stale.
    const std::uint32_t change = selectionChanges_.load();
    const std::int32_t busIndex = busIndexOf(selection_.load());
    settleStaleClaim(busIndex);
    if (claimed_.load() == nullptr && busIndex >= 0)
        claim(busIndex, channelConfigurationFor(outputChannels), change);

    MoltraxBusRecord* const record = claimed_.load();
    if (record == nullptr) return {0, 0};
    if (claimChange_.load(std::memory_order_relaxed) != selectionChanges_.load()) {
        release(record, false);  // claimed for a selection that has since changed
        return {0, 0};
    }
    const std::uint32_t generation = claimGeneration_.load(std::memory_order_relaxed);
    {
        const RecordAccess access(instanceNumber_, generation);
        if (!access || !ownsRecord(*record, instanceNumber_)) return {0, 0};
        const bool allChannels = loadRelaxed(record->activeChannels) == loadRelaxed(record->maxChannels);
        setState(allChannels ? ConnectionState::kAllChannels : ConnectionState::kSomeChannels);
        if (loadRelaxed(record->ready) != 0) return copyToOutputs(*record, outputs, frames);
    }
    // Outside any access: the instrument may tell us it leaves from inside.
    const MoltraxRenderFn render = render_.load();
    if (render != nullptr) render(frames);
    const RecordAccess access(instanceNumber_, generation);
    if (!access || loadRelaxed(record->ready) == 0) return {0, 0};
    return copyToOutputs(*record, outputs, frames);
}

void BusConnection::claim(std::int32_t busIndex, std::int32_t requestedChannels,
                          std::uint32_t selectionChange) noexcept {
    const std::uint32_t generation = siblingGeneration();
    const MoltraxGetBusRecordFn lookup = busRecordLookup();
    MoltraxBusRecord* const record = lookup != nullptr ? lookup(busIndex) : nullptr;
    if (record == nullptr) {
        setState(ConnectionState::kNoRecord);
        return;
    }
    const bool retakeOwnMark = lostBus_.load(std::memory_order_relaxed) == busIndex;
    const RecordAccess access(instanceNumber_, generation);
    // The module went away (and maybe came back) during the lookup: the record
    // may already be gone, and is not touched.
    if (!access) return;
    if (retakeOwnMark) lostBus_.store(-1, std::memory_order_relaxed);
    // A mark of ours on the bus whose claim a reconnect made us forget is
    // taken back, counted once; any other mark of our number is someone else's.
    if (!claimRecord(*record, instanceNumber_, requestedChannels, retakeOwnMark)) {
        setState(ConnectionState::kNotDelivering);
        return;
    }
    claimGeneration_.store(generation, std::memory_order_relaxed);
    claimBus_.store(busIndex, std::memory_order_relaxed);
    claimChange_.store(selectionChange, std::memory_order_relaxed);
    render_.store(renderRequest());
    claimed_.store(record);
}

bool BusConnection::dropClaim(MoltraxBusRecord* held) noexcept {
    if (!claimed_.compare_exchange_strong(held, nullptr)) return false;
    render_.store(nullptr);
    return true;
}

void BusConnection::release(MoltraxBusRecord* held, bool onlyIfLost) noexcept {
    if (held == nullptr) return;
    const RecordAccess access(instanceNumber_, claimGeneration_.load(std::memory_order_relaxed));
    if (!access) return;  // from an earlier load: the next block settles its mark
    // Lost means another mark: a disabled bus that still carries ours is kept.
    if (onlyIfLost && loadRelaxed(held->owner) == static_cast<std::uint8_t>(instanceNumber_)) return;
    if (dropClaim(held)) releaseRecord(*held, instanceNumber_);
}

void BusConnection::settleStaleClaim(std::int32_t selectedBus) noexcept {
    MoltraxBusRecord* const held = claimed_.load();
    if (held != nullptr && claimGeneration_.load(std::memory_order_relaxed) != siblingGeneration() &&
        dropClaim(held)) {
        lostBus_.store(claimBus_.load(std::memory_order_relaxed), std::memory_order_relaxed);
    }
    // On the selected bus the claim attempt that follows takes the mark back.
    const std::int32_t lost = lostBus_.load(std::memory_order_relaxed);
    if (lost >= 0 && lost != selectedBus && releaseStaleMark(lost)) {
        lostBus_.store(-1, std::memory_order_relaxed);
    }
}

bool BusConnection::releaseStaleMark(std::int32_t busIndex) const noexcept {
    const std::uint32_t generation = siblingGeneration();
    const MoltraxGetBusRecordFn lookup = busRecordLookup();
    MoltraxBusRecord* const record = lookup != nullptr ? lookup(busIndex) : nullptr;
    if (record == nullptr) return false;
    const RecordAccess access(instanceNumber_, generation);
    if (!access) return false;
    releaseRecord(*record, instanceNumber_);
    return true;
}

void BusConnection::releaseAtDestruction() noexcept {
    MoltraxBusRecord* const held = claimed_.exchange(nullptr);
    render_.store(nullptr);
    if (held != nullptr) {
        const RecordAccess access(instanceNumber_, claimGeneration_.load(std::memory_order_relaxed));
        if (access) {
            releaseRecord(*held, instanceNumber_);
            return;
        }
        lostBus_.store(claimBus_.load(std::memory_order_relaxed), std::memory_order_relaxed);
    }
    // The module came back since the claim and no block has taken the mark
    // back: the record it left is asked for anew, never read through `held`.
    const std::int32_t lost = lostBus_.exchange(-1, std::memory_order_relaxed);
    if (lost >= 0 && siblingLoaded()) releaseStaleMark(lost);
}

bool BusConnection::refreshDirectory(MoltraxBusDirectory& table) const noexcept {
    return link::refreshDirectory(table, instanceNumber_);
}

ConnectionState BusConnection::connectionState() const noexcept {
    return state_.load(std::memory_order_relaxed);
}

MoltraxBusRecord* BusConnection::claimedRecord() const noexcept {
    MoltraxBusRecord* const record = claimed_.load();
    const bool current =
        siblingLoaded() && claimGeneration_.load(std::memory_order_relaxed) == siblingGeneration();
    return record != nullptr && current ? record : nullptr;
}

void BusConnection::setState(ConnectionState state) noexcept {
    state_.store(state, std::memory_order_relaxed);
}

}  // namespace MX::link
