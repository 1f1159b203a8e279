// Operations this side performs on a shared bus record. Fields that the
// instrument writes from its own threads are accessed through relaxed atomics.
#pragma once

#include <cstdint>

#include "link/bus_records.h"

namespace MX::link {

// The largest instance number the one-byte owner mark holds.
inline constexpr std::int32_t kMaxOwnerMark = 255;
// Instance numbers that fit the one-byte owner mark; others never claim.
bool ownerMarkFits(std::int32_t instanceNumber) noexcept;

void setRequestedChannels(MoltraxBusRecord& record, std::int32_t channels) noexcept;
void clearRecord(MoltraxBusRecord& record) noexcept;
// What one copy delivered: the first `frames` samples of outputs 0..channels-1.
struct Delivered {
    std::int32_t frames;
    std::int32_t channels;
};
// Copies min(frames, validFrames) samples of each active channel, then clears ready.
Delivered copyToOutputs(MoltraxBusRecord& record, float* const* outputs, std::int32_t frames) noexcept;
// True when the record was enabled and free and is now ours. With
// `retakeOwnMark`, a record already marked with our instance number is ours
// again too, without a second count in refCount.
bool claimRecord(MoltraxBusRecord& record, std::int32_t instanceNumber, std::int32_t requestedChannels,
                 bool retakeOwnMark = false) noexcept;
// True when enabled and owner equals the instance number at full width.
bool ownsRecord(const MoltraxBusRecord& record, std::int32_t instanceNumber) noexcept;
// Release, at a selection change or at destruction: only when the record is
// still enabled and ours, so another effect's claim is never wiped.
void releaseRecord(MoltraxBusRecord& record, std::int32_t instanceNumber) noexcept;

}  // namespace MX::link
