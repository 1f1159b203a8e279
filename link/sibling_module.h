// The process-wide connection to the Moltrax library: load on the first
// effect, unload with the last. Entries are resolved once per load of the
// module (exports of a loaded module never change), so the audio thread reads
// plain pointers and never calls the loader.
#pragma once

#include <cstdint>

#include "link/bus_records.h"

namespace MX::link {

// Bodies of our exports MoltraxConnect / MoltraxDisconnect. UI thread, or the
// instrument's. Disconnect touches no record: the instrument may already have
// freed them before it tells us. Connections forget claims of the ended load
// by its generation and settle the marks they left once the module is back.
std::int32_t connectSibling() noexcept;
std::int32_t disconnectSibling() noexcept;

// Any thread. False once disconnect has begun.
bool siblingLoaded() noexcept;
// Changes at every load and unload of the module. A record or entry taken from
// the module is only valid while this value stays the one seen when it was taken.
std::uint32_t siblingGeneration() noexcept;

// Entries of the loaded module; null when the module is not loaded or lacks
// the entry (a missing entry counts as a null result). Any thread.
MoltraxGetBusRecordFn busRecordLookup() noexcept;        // ordinal 4
MoltraxRenderFn renderRequest() noexcept;                // ordinal 5
MoltraxGetBusDirectoryFn busDirectoryLookup() noexcept;  // ordinal 6

}  // namespace MX::link
