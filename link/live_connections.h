// The live bus connections of the process, one per effect, each under its own
// instance number: the owner mark 1 to 255 it writes into a claimed record.
// Numbers are taken and given back where effects are built and destroyed (the
// UI thread). The audio thread never touches it.
#pragma once

#include <cstdint>

namespace MX::link {

class BusConnection;

// The lowest number from 1 to 255 that no live connection holds, now held by
// `connection`; with all 255 held, kMaxOwnerMark + 1, a number that never
// claims a record. Atomic, so two effects built at once still differ.
std::int32_t takeInstanceNumber(BusConnection& connection) noexcept;
// Frees `number` if `connection` holds it.
void giveBackInstanceNumber(std::int32_t number, const BusConnection& connection) noexcept;

}  // namespace MX::link
