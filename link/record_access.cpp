#include "link/record_access.h"

#include <array>
#include <thread>

#include "link/bus_record_operations.h"
#include "link/sibling_module.h"

namespace MX::link {

namespace {

// Slot n for instance number n (1 to 255); slot 0 for any other number. One
// per effect, so that effects on several audio threads never keep one shared
// count above zero between them.
std::array<std::atomic<std::uint32_t>, kMaxOwnerMark + 1> gStretches{};

std::atomic<std::uint32_t>& slotFor(std::int32_t slot) noexcept {
    return gStretches[ownerMarkFits(slot) ? slot : 0];
}

}  // namespace

// Sequentially consistent on both sides: either disconnect sees the stretch
// announced and waits for it, or the stretch sees the load ended and stays out.
RecordAccess::RecordAccess(std::int32_t slot, std::uint32_t generation) noexcept : slotCount_(slotFor(slot)) {
    slotCount_.fetch_add(1, std::memory_order_seq_cst);
    current_ = siblingLoaded() && siblingGeneration() == generation;
}

RecordAccess::~RecordAccess() { slotCount_.fetch_sub(1, std::memory_order_release); }

void waitForRecordAccesses() noexcept {
    for (std::atomic<std::uint32_t>& stretches : gStretches) {
        // A stretch begun after the load ended leaves at once; one begun
        // before it ends after at most a record copy.
        while (stretches.load(std::memory_order_seq_cst) != 0) std::this_thread::yield();
    }
}

}  // namespace MX::link
