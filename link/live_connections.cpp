#include "link/live_connections.h"

#include <array>
#include <atomic>

#include "link/bus_record_operations.h"

namespace MX::link {

namespace {

// Slot n - 1 holds the connection with instance number n, or null.
std::array<std::atomic<BusConnection*>, kMaxOwnerMark> gHolders{};

}  // namespace

std::int32_t takeInstanceNumber(BusConnection& connection) noexcept {
    for (std::int32_t slot = 0; slot < kMaxOwnerMark; ++slot) {
        BusConnection* expected = nullptr;
        if (gHolders[slot].compare_exchange_strong(expected, &connection, std::memory_order_acq_rel)) {
            return slot + 1;
        }
    }
    return kMaxOwnerMark + 1;
}

void giveBackInstanceNumber(std::int32_t number, const BusConnection& connection) noexcept {
    if (!ownerMarkFits(number)) return;
    BusConnection* expected = const_cast<BusConnection*>(&connection);
    gHolders[number - 1].compare_exchange_strong(expected, nullptr, std::memory_order_acq_rel);
}

}  // namespace MX::link
