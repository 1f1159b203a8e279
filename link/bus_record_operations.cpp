#include "link/bus_record_operations.h"

#include <algorithm>
#include <atomic>

#include "link/relaxed_field.h"
#include "runtime/vector_primitives.h"

namespace MX::link {

namespace {

// The instrument keeps validFrames within the buffers; a value outside them
// is clamped so no access leaves the 16384-sample buffers.
std::int32_t boundedFrames(std::int32_t validFrames) noexcept {
    return std::clamp<std::int32_t>(validFrames, 0, MOLTRAX_BUS_FRAMES);
}

std::int32_t boundedChannels(std::int32_t channels) noexcept {
    return std::clamp<std::int32_t>(channels, 0, MOLTRAX_BUS_CHANNELS);
}

std::int32_t activeChannelsOf(const MoltraxBusRecord& record) noexcept {
    return boundedChannels(loadRelaxed(record.activeChannels));
}

void adjustRefCount(MoltraxBusRecord& record, std::uint8_t delta) noexcept {
    std::atomic_ref<std::uint8_t>(record.refCount).fetch_add(delta, std::memory_order_relaxed);
}

void dropOwnership(MoltraxBusRecord& record) noexcept {
    adjustRefCount(record, static_cast<std::uint8_t>(-1));
    storeRelaxed<std::uint8_t>(record.owner, 0);
}

}  // namespace

bool ownerMarkFits(std::int32_t instanceNumber) noexcept {
    return instanceNumber >= 1 && instanceNumber <= kMaxOwnerMark;
}

void setRequestedChannels(MoltraxBusRecord& record, std::int32_t channels) noexcept {
    const auto requested = static_cast<std::uint8_t>(boundedChannels(channels));
    storeRelaxed(record.requestedChannels, requested);
    storeRelaxed<std::uint8_t>(record.ready, 0);
    storeRelaxed(record.activeChannels, std::min(loadRelaxed(record.maxChannels), requested));
    clearRecord(record);
}

void clearRecord(MoltraxBusRecord& record) noexcept {
    const std::int32_t validFrames = loadRelaxed(record.validFrames);
    if (validFrames == 0) return;
    storeRelaxed<std::uint8_t>(record.ready, 0);
    const std::int32_t frames = boundedFrames(validFrames);
    const std::int32_t channels = activeChannelsOf(record);
    for (std::int32_t c = 0; c < channels; ++c) runtime::zeroFloats(record.buffers[c], frames);
}

Delivered copyToOutputs(MoltraxBusRecord& record, float* const* outputs, std::int32_t frames) noexcept {
    const std::int32_t count = std::max(std::min(frames, boundedFrames(loadRelaxed(record.validFrames))), 0);
    const std::int32_t channels = outputs != nullptr && count > 0 ? activeChannelsOf(record) : 0;
    for (std::int32_t c = 0; c < channels; ++c) {
        if (outputs[c] != nullptr) runtime::copyFloats(outputs[c], record.buffers[c], count);
    }
    storeRelaxed<std::uint8_t>(record.ready, 0);
    return {count, channels};
}

bool claimRecord(MoltraxBusRecord& record, std::int32_t instanceNumber, std::int32_t requestedChannels,
                 bool retakeOwnMark) noexcept {
    // A number the owner byte cannot hold would leave the record claimed by
    // nobody, or match another instance's mark: such an instance never claims.
    if (!ownerMarkFits(instanceNumber)) return false;
    if (loadRelaxed(record.enabled) == 0) return false;
    const std::int32_t owner = loadRelaxed(record.owner);
    if (retakeOwnMark && owner == instanceNumber) {
        setRequestedChannels(record, requestedChannels);
        return true;
    }
    if (owner != 0) return false;
    adjustRefCount(record, 1);
    storeRelaxed(record.owner, static_cast<std::uint8_t>(instanceNumber));
    setRequestedChannels(record, requestedChannels);
    return true;
}

bool ownsRecord(const MoltraxBusRecord& record, std::int32_t instanceNumber) noexcept {
    if (!ownerMarkFits(instanceNumber)) return false;
    if (loadRelaxed(record.enabled) == 0) return false;
    return static_cast<std::int32_t>(loadRelaxed(record.owner)) == instanceNumber;
}

void releaseRecord(MoltraxBusRecord& record, std::int32_t instanceNumber) noexcept {
    if (ownsRecord(record, instanceNumber)) dropOwnership(record);
}

}  // namespace MX::link
